#include "app/registration/ProtocolRegistration.h"

#include "app/registration/ERegistryError.h"

#include <QDir>

#include <windows.h>

namespace {

LPCWSTR wide(const QString& text) {
    return reinterpret_cast<LPCWSTR>(text.utf16());
}

// One key under HKEY_CLASSES_ROOT, opened or created with full access and closed on every path.
class TRegistryKey {
public:
    explicit TRegistryKey(const QString& path) {
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, wide(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &FKey, nullptr) != ERROR_SUCCESS)
            FKey = nullptr;
    }
    ~TRegistryKey() {
        if (FKey)
            RegCloseKey(FKey);
    }
    TRegistryKey(const TRegistryKey&) = delete;
    TRegistryKey& operator=(const TRegistryKey&) = delete;

    bool Opened() const { return FKey != nullptr; }

    // Stores a REG_SZ value with its terminating NUL; an empty name is the key's default value.
    void WriteString(const QString& name, const QString& data) {
        const DWORD bytes = DWORD((data.size() + 1) * sizeof(wchar_t));
        if (RegSetValueExW(FKey, name.isEmpty() ? nullptr : wide(name), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(data.utf16()), bytes) != ERROR_SUCCESS)
            throw ERegistryError(QStringLiteral("Failed to set data for '%1'").arg(name));
    }

private:
    HKEY FKey = nullptr;
};

} // namespace

bool IsExistRegistryKey(const QString& Key) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, wide(Key), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void RegisterProtocol(const QString& Key, const QString& ExecutablePath) {
    const QString executable = QDir::toNativeSeparators(ExecutablePath);
    {
        TRegistryKey protocol(Key);
        if (!protocol.Opened())
            return;
        protocol.WriteString(QStringLiteral("URL Protocol"), executable);
        protocol.WriteString(QString(), QStringLiteral("VuxPrintProtocol"));
    }
    if (TRegistryKey icon(Key + QStringLiteral("\\DefaultIcon")); icon.Opened())
        icon.WriteString(QString(), executable + QStringLiteral(",1"));
    // These two keys are only created (when missing) and closed again.
    { TRegistryKey shell(Key + QStringLiteral("\\shell")); }
    { TRegistryKey open(Key + QStringLiteral("\\shell\\open")); }
    if (TRegistryKey command(Key + QStringLiteral("\\shell\\open\\command")); command.Opened())
        command.WriteString(QString(), QLatin1Char('"') + executable + QStringLiteral("\" \"%1\""));
}
