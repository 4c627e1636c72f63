// Registry changes under HKEY_CURRENT_USER that last for one scope: a test sets
// or removes values and hides keys, and the destructors put back what was there.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// One value of one key. Changes made through it are undone at scope end: the
// old value comes back (or none), and keys that Set had to create are removed
// again when nothing else was put into them.
class ScopedRegistryValue
{
public:
    ScopedRegistryValue(std::wstring key, std::wstring name);
    ~ScopedRegistryValue();
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

    // Writes the value with any type and bytes (creating the key); false on failure.
    bool Set(DWORD type, const void* data, DWORD size);
    bool SetDword(DWORD value) { return Set(REG_DWORD, &value, sizeof(value)); }
    // Deletes the value if it is there.
    void Remove();

private:
    std::wstring m_key;
    std::wstring m_name;
    bool m_hadValue = false;
    DWORD m_oldType = 0;
    std::vector<BYTE> m_oldData;
    std::vector<std::wstring> m_createdKeys; // deepest last
};

// Hides a key with its values and subkeys for the scope: it is copied aside,
// deleted, and copied back at scope end. Nothing happens when it is missing.
class ScopedRegistryKeyAbsent
{
public:
    explicit ScopedRegistryKeyAbsent(std::wstring key);
    ~ScopedRegistryKeyAbsent();
    ScopedRegistryKeyAbsent(const ScopedRegistryKeyAbsent&) = delete;
    ScopedRegistryKeyAbsent& operator=(const ScopedRegistryKeyAbsent&) = delete;

private:
    std::wstring m_key;
    std::wstring m_backup; // empty when the key was not there
};

// Processes started in its scope see the screen at another resolution. Wine
// reads the "LogPixels" system parameter once, as a process starts, and looks
// in its volatile branch of the registry before the saved one: this process
// and those already running keep theirs, the prefix's saved setting is never
// touched, and a value left behind by a run that failed midway dies with the
// Wine server at the latest.
class ScopedNewProcessDpi
{
public:
    explicit ScopedNewProcessDpi(DWORD dpi);
    ~ScopedNewProcessDpi();
    ScopedNewProcessDpi(const ScopedNewProcessDpi&) = delete;
    ScopedNewProcessDpi& operator=(const ScopedNewProcessDpi&) = delete;

private:
    HKEY m_key = nullptr;
};

} // namespace testing_support
