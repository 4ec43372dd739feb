#include "platform/qt_settings_store.h"

#include <limits>

namespace qx::platform {
namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::unique_ptr<QSettings> OpenUserKey() {
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\") + QString::fromUtf8(kUserKeyName),
        QSettings::NativeFormat);
#else
    // An organization without an application: one file named after the key.
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QString::fromUtf8(kUserKeyName));
#endif
}

bool Synced(QSettings& settings) {
    settings.sync();
    return settings.status() == QSettings::NoError;
}

// A stored 32-bit number. The registry gives a number for REG_DWORD and a text for anything
// else, which does not count; the Linux file stores every value as text.
std::optional<uint32_t> DwordOf(const QVariant& value) {
    if (!value.isValid()) {
        return std::nullopt;
    }
    const int type = value.typeId();
    if (type == QMetaType::Int || type == QMetaType::UInt) {
        return static_cast<uint32_t>(value.toUInt());
    }
#ifdef Q_OS_WIN
    return std::nullopt;
#else
    const QString text = value.toString();
    if (text.isEmpty() || text.size() > 10) {
        return std::nullopt;
    }
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return std::nullopt;
        }
    }
    const qulonglong number = text.toULongLong();
    if (number > std::numeric_limits<uint32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(number);
#endif
}

}  // namespace

QString SettingsKeyOfName(std::string_view name) {
    QString key = ToQString(name);
    key.replace(QLatin1Char('%'), QLatin1String("%25"));
    key.replace(QLatin1Char('/'), QLatin1String("%2F"));
    key.replace(QLatin1Char('\\'), QLatin1String("%5C"));
    return key;
}

QtSettingsStore::QtSettingsStore()
    : profile_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           QString::fromUtf8(kSettingsOrganization),
                                           QString::fromUtf8(kSettingsApplication))),
      userKey_(OpenUserKey()) {
    profile_->setAtomicSyncRequired(true);
    userKey_->setAtomicSyncRequired(true);
}

QtSettingsStore::~QtSettingsStore() = default;

std::optional<std::string> QtSettingsStore::ReadProfileString(std::string_view section,
                                                              std::string_view name) {
    const std::lock_guard lock(mutex_);
    profile_->sync();  // take in what another instance wrote
    const QVariant value =
        profile_->value(SettingsKeyOfName(section) + QLatin1Char('/') + SettingsKeyOfName(name));
    if (!value.isValid()) {
        return std::nullopt;
    }
    return value.toString().toStdString();
}

// A key that holds the value already is left alone: the key assignment window stores its
// record-delay setting at every opening, which must not rewrite the file each time.
bool QtSettingsStore::WriteProfileString(std::string_view section, std::string_view name,
                                         std::string_view value) {
    const std::lock_guard lock(mutex_);
    const QString key = SettingsKeyOfName(section) + QLatin1Char('/') + SettingsKeyOfName(name);
    const QString text = ToQString(value);
    profile_->sync();  // what another instance wrote counts
    const QVariant held = profile_->value(key);
    if (held.isValid() && held.typeId() == QMetaType::QString && held.toString() == text) {
        return profile_->status() == QSettings::NoError;
    }
    profile_->setValue(key, text);
    return Synced(*profile_);
}

std::optional<uint32_t> QtSettingsStore::ReadUserDword(std::string_view name) {
    const std::lock_guard lock(mutex_);
    userKey_->sync();
    return DwordOf(userKey_->value(SettingsKeyOfName(name)));
}

bool QtSettingsStore::WriteUserDword(std::string_view name, uint32_t value) {
    const std::lock_guard lock(mutex_);
    userKey_->setValue(SettingsKeyOfName(name), static_cast<uint>(value));
    return Synced(*userKey_);
}

std::string QtSettingsStore::ProfileLocation() const {
    const std::lock_guard lock(mutex_);
    return profile_->fileName().toStdString();
}

std::string QtSettingsStore::UserKeyLocation() const {
    const std::lock_guard lock(mutex_);
    return userKey_->fileName().toStdString();
}

}  // namespace qx::platform
