// Reading the keyboard's content back into a profile file: the three key layouts and the
// device macro table become a configuration image with its macro records (no texts: the
// keyboard keeps none).
#pragma once

#include <functional>
#include <string>

#include "device/transfer/image_transfer.h"
#include "profiles/profile_file.h"

namespace qx::device {

// Reads the layouts of profiles 0..2 and the macro table into memory of its own: the image built
// from them (header, fixed block, blocks 0..2, block 3 zero) and the macro records, with an empty
// text table. Nothing when the current profile cannot be learnt or a read fails. On success the
// table read is what the keyboard is known to hold (device/transfer/keyboard_macros.h); before,
// nothing is.
std::optional<profiles::ProfileContents> ReadBackContents(const TransferLink& link);

// Reads the layouts of profiles 0..2 and the macro table, and replaces the file at `path` with
// the image built from them. 1 success; 0 when the current profile cannot be learnt, a read
// fails (the first failing read ends it and no file is written) or the file cannot be written.
int ReadBackToFile(const std::string& path, const TransferLink& link);

// The same through the running device session (0 when there is none).
int ReadBackToFile(const std::string& path);

// Where the live image came from after ReloadImageFromKeyboard.
enum class ReloadSource { kKeyboard, kLastGoodStore, kDefaultImage };

// The keyboard's content becomes the profile store at `storePath`, and the store the live
// image. When the keyboard cannot be read back (no `link`, or a read failed) or what it wrote
// cannot be loaded, the store as it was before, the last good copy of the keyboard's content,
// is loaded when it validates; only without one does a default image (no macros) become the
// live image. So a read that failed never leaves an image whose next Apply would empty the
// keyboard's macro table. `whileLocked` runs under the image lock after the image was
// installed (the main window refreshes its key buttons there).
ReloadSource ReloadImageFromKeyboard(const std::string& storePath, const TransferLink* link,
                                     const std::function<void()>& whileLocked = {});

// The second half of ReloadImageFromKeyboard, for a caller that ran ReadBackToFile itself (the
// main window runs it on its transfer thread): `readBack` is whether that call wrote the store.
ReloadSource InstallStoreAfterReadBack(const std::string& storePath, bool readBack,
                                       const std::function<void()>& whileLocked = {});

}  // namespace qx::device
