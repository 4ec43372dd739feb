// The configuration image record, its key entries and default block, the macro record layout,
// the text table and the two holders with their lock order.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "keyboard/byte_order.h"
#include "keyboard/image_holders.h"
#include "keyboard/image_record.h"
#include "keyboard/key_buttons.h"
#include "keyboard/macro_record.h"
#include "keyboard/text_table.h"

namespace qx::keyboard {
namespace {

TEST(KeyEntry, LiesAtItsImageOffsetWithLittleEndianFields) {
    auto image = std::make_unique<ImageRecord>();
    KeyEntryRef entry = KeyEntry(*image, 1, 0x47);  // Num 7 of profile 1
    entry.SetKind(kKindMacro);
    entry.SetParameter(0x0102);
    entry.SetValue(0x0A0B0C0D);
    entry.SetColourSwitch(1);

    const std::size_t offset = 64 + 8192 + 16 * 0x47;
    ASSERT_EQ(KeyEntryOffset(1, 0x47), offset);
    const auto bytes = image->Bytes();
    EXPECT_EQ(bytes[offset + 0], kKindMacro);
    EXPECT_EQ(bytes[offset + 1], 0);
    EXPECT_EQ(bytes[offset + 2], 0x02);
    EXPECT_EQ(bytes[offset + 3], 0x01);
    EXPECT_EQ(LoadLe32(bytes, offset + 4), 0x0A0B0C0Du);
    EXPECT_EQ(bytes[offset + 4], 0x0D);
    EXPECT_EQ(LoadLe32(bytes, offset + 8), 1u);
    // Nothing outside the 16 bytes changed.
    EXPECT_EQ(bytes[offset - 1], 0);
    EXPECT_EQ(bytes[offset + 16], 0);

    const ImageRecord& constImage = *image;
    EXPECT_EQ(constImage.Entry(1, 0x47).Value(), 0x0A0B0C0Du);
    EXPECT_EQ(constImage.Entry(1, 0x47).Parameter(), 0x0102);

    entry.Reset();
    EXPECT_EQ(LoadLe32(bytes, offset + 8), 0u);
    EXPECT_EQ(entry.Kind(), kKindDefault);
}

TEST(KeyEntry, RejectsEntriesOutsideTheKeyArea) {
    ImageRecord image;
    EXPECT_NO_THROW(image.Entry(3, 511));
    EXPECT_EQ(KeyEntryOffset(3, 511) + kKeyEntrySize, kImageSize);
    EXPECT_THROW(image.Entry(4, 0), std::out_of_range);
    EXPECT_THROW(image.Entry(0, 512), std::out_of_range);
    EXPECT_THROW(image.Entry(-1, 0), std::out_of_range);
    EXPECT_THROW(image.Block(4), std::out_of_range);
}

TEST(DefaultBlock, HoldsOnlyTheGKeyCodesOfBothBanks) {
    auto image = std::make_unique<ImageRecord>();
    std::fill(image->Bytes().begin(), image->Bytes().end(), uint8_t{0xEE});
    FillDefaultBlock(image->Block(1));

    for (int button = 0; button < kGKeyButtonCount; ++button) {
        const auto bank0 = image->Entry(1, 256 + button);
        const auto bank1 = image->Entry(1, 265 + button);
        EXPECT_EQ(bank0.Kind(), kKindDefault);
        EXPECT_EQ(bank0.Parameter(), 0x301 + button);
        EXPECT_EQ(bank1.Parameter(), 0x1301 + button);
        EXPECT_EQ(bank0.Value(), 0u);
        EXPECT_EQ(bank1.ColourSwitch(), 0u);
    }
    EXPECT_EQ(image->Entry(1, 267).Parameter(), 0x1303);  // G-key button 2 in bank 1
    int nonZero = 0;
    for (uint8_t b : image->Block(1)) {
        nonZero += b != 0 ? 1 : 0;
    }
    EXPECT_EQ(nonZero, 18 * 2);  // two parameter bytes per G-key entry, 0x301..0x1309
    // The blocks around it are carried untouched.
    EXPECT_EQ(image->Block(0)[kBlockSize - 1], 0xEE);
    EXPECT_EQ(image->Block(2)[0], 0xEE);
    EXPECT_EQ(image->Header()[0], 0xEE);
}

TEST(MacroRecord, FieldsSitAtTheirOffsets) {
    auto record = std::make_unique<MacroRecord>();
    record->SetName(u"Combo");
    record->SetRepeatCount(7);
    record->SetNewFlag(1);
    record->SetId(42);
    record->SetActionCount(2);
    record->SetAction(0, {40000, 0x01E, kMacroPress});
    record->SetAction(1999, {-1, 0x171, kMacroRelease});

    const auto bytes = record->Bytes();
    EXPECT_EQ(LoadLe16(bytes, 0), u'C');
    EXPECT_EQ(LoadLe16(bytes, 8), u'o');
    EXPECT_EQ(LoadLe16(bytes, 10), 0);
    EXPECT_EQ(bytes[500], 7);
    EXPECT_EQ(bytes[501], 0);
    EXPECT_EQ(LoadLe16(bytes, 502), 1);
    EXPECT_EQ(LoadLe16(bytes, 506), 42);
    EXPECT_EQ(LoadLe16(bytes, 508), 2);
    EXPECT_EQ(LoadLe32(bytes, 512), 40000u);
    EXPECT_EQ(LoadLe16(bytes, 516), 0x01E);
    EXPECT_EQ(LoadLe16(bytes, 518), kMacroPress);
    EXPECT_EQ(LoadLe32(bytes, kMacroRecordSize - 8), 0xFFFFFFFFu);
    EXPECT_EQ(LoadLe16(bytes, kMacroRecordSize - 4), 0x171);
    EXPECT_EQ(LoadLe16(bytes, kMacroRecordSize - 2), kMacroRelease);

    EXPECT_EQ(record->Name(), u"Combo");
    EXPECT_EQ(record->Action(1999), (MacroAction{-1, 0x171, kMacroRelease}));
    EXPECT_THROW(record->Action(2000), std::out_of_range);
    EXPECT_THROW(record->SetAction(-1, {}), std::out_of_range);
}

TEST(MacroRecord, NamesAreCutAndReadWithinTheirField) {
    auto record = std::make_unique<MacroRecord>();
    record->SetName(std::u16string(300, u'x'));
    EXPECT_EQ(record->Name().size(), kMacroNameMaxChars);
    EXPECT_EQ(LoadLe16(record->Bytes(), std::size_t{2} * 249), 0);  // terminated in unit 249

    record->SetName(u"ab");
    EXPECT_EQ(record->Name(), u"ab");
    EXPECT_EQ(LoadLe16(record->Bytes(), std::size_t{2} * 100), 0);  // the longer old name is gone

    // A record from a file whose name has no terminator is read up to 249 units only.
    std::fill_n(record->Bytes().begin(), 2 * kMacroNameUnits, uint8_t{0x41});
    EXPECT_EQ(record->Name().size(), kMacroNameMaxChars);

    record->SetActionCount(65535);
    EXPECT_EQ(record->ActionCount(), 65535);
    EXPECT_EQ(record->UsableActionCount(), kMaxMacroActions);
}

TEST(TextTable, KeepsByteLengthsWithTerminatorsAndTheirTotal) {
    auto table = std::make_unique<TextTable>();
    table->Set(5, u"notepad");
    table->Set(2047, u"");
    EXPECT_EQ(table->ByteLength(5), 16u);
    EXPECT_EQ(table->ByteLength(2047), 2u);
    EXPECT_EQ(table->Total(), 18u);
    table->Set(5, u"ab");  // replacing frees the old text
    EXPECT_EQ(table->Total(), 8u);
    EXPECT_EQ(table->Text(5), u"ab");
    table->Clear(5);
    EXPECT_FALSE(table->HasText(5));
    EXPECT_EQ(table->Total(), 2u);
    table->ClearAll();
    EXPECT_EQ(table->Total(), 0u);
    EXPECT_THROW(table->Set(2048, u"x"), std::out_of_range);
    EXPECT_THROW(static_cast<void>(table->Text(-1)), std::out_of_range);
}

TEST(ImageStore, TakesTheSnapshotLockOnlyUnderItsOwnImageLock) {
    ImageStore store;
    ImageStore other;
    ImageGuard image = store.LockImage();
    ImageGuard again = store.LockImage();  // re-entrant on the same thread
    image->image = std::make_unique<ImageRecord>();
    EXPECT_NE(again->image, nullptr);
    {
        SnapshotGuard snapshot = store.LockSnapshot(image);
        SnapshotGuard nested = store.LockSnapshot(again);  // the download re-enters it
        snapshot->textArea.assign(6, 0);
        EXPECT_EQ(nested->TextTotal(), 6u);
    }
    const ImageGuard foreign = other.LockImage();
    EXPECT_THROW(store.LockSnapshot(foreign), std::logic_error);
    ImageGuard moved = std::move(image);
    EXPECT_THROW(store.LockSnapshot(image), std::logic_error);  // NOLINT(bugprone-use-after-move)
}

TEST(ImageStore, ImageLockKeepsOtherThreadsOut) {
    ImageStore store;
    std::atomic<bool> entered{false};
    std::thread other;
    {
        ImageGuard image = store.LockImage();
        other = std::thread([&] {
            ImageGuard mine = store.LockImage();
            entered = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        EXPECT_FALSE(entered.load());
    }
    other.join();
    EXPECT_TRUE(entered.load());
}

TEST(ImageStore, ResetFreesBothHolders) {
    ImageStore store;
    {
        ImageGuard image = store.LockImage();
        image->image = std::make_unique<ImageRecord>();
        image->macros.resize(3);
        image->texts.Set(1, u"x");
        SnapshotGuard snapshot = store.LockSnapshot(image);
        snapshot->image = std::make_unique<ImageRecord>();
        snapshot->macros.resize(2);
        snapshot->textArea.resize(4);
    }
    store.Reset();
    ImageGuard image = store.LockImage();
    EXPECT_EQ(image->image, nullptr);
    EXPECT_EQ(image->MacroCount(), 0);
    EXPECT_EQ(image->TextTotal(), 0u);
    SnapshotGuard snapshot = store.LockSnapshot(image);
    EXPECT_EQ(snapshot->image, nullptr);
    EXPECT_EQ(snapshot->MacroCount(), 0);
    EXPECT_EQ(snapshot->TextTotal(), 0u);
}

}  // namespace
}  // namespace qx::keyboard
