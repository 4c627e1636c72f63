// Registry changes under HKEY_CURRENT_USER that last for one scope: a test sets
// or removes values and hides keys, and scope end puts back what was there.
//
// Before a scope changes anything it notes in the registry how to undo the
// change, and scope end undoes it from that note and drops the note. A run
// that is killed cannot reach scope end, so every test program first undoes
// the notes that no live scope holds any more (UndoLeftoverRegistryChanges):
// what a killed run changed never reaches a later run.
#pragma once

#include <windows.h>

#include "module/Holders.h"

#include <string>

namespace testing_support {

// How to undo one scope's change, kept under the tests' own key while the
// scope lives (a named mutex of the note's name tells other processes that
// its owner is alive), then applied and dropped.
class RegistryUndoNote
{
public:
    RegistryUndoNote();
    ~RegistryUndoNote();

    // The note's key under HKEY_CURRENT_USER; empty when none could be made.
    const std::wstring& Key() const { return m_key; }

private:
    CScopedKernelHandle m_owner; // the named mutex; closed after the note is applied
    std::wstring m_key;
};

// One value of one key. Changes made through it are undone at scope end: the
// old value comes back (or none), and keys that Set had to create are removed
// again when nothing else was put into them.
class ScopedRegistryValue
{
public:
    ScopedRegistryValue(std::wstring key, std::wstring name);

    // Writes the value with any type and bytes (creating the key); false on failure.
    bool Set(DWORD type, const void* data, DWORD size);
    bool SetDword(DWORD value) { return Set(REG_DWORD, &value, sizeof(value)); }
    // Deletes the value if it is there.
    void Remove();

private:
    std::wstring m_key;
    std::wstring m_name;
    int m_nCreatedKeys = 0;
    RegistryUndoNote m_note;
};

// Hides a key with its values and subkeys for the scope: it is copied into
// the note and deleted; at scope end whatever the scope left under the key's
// name is deleted and the copy, if the key was there, comes back.
class ScopedRegistryKeyAbsent
{
public:
    explicit ScopedRegistryKeyAbsent(std::wstring key);

private:
    RegistryUndoNote m_note;
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

private:
    CScopedRegKey m_key;
};

// Undoes, newest first, the changes of scopes whose process has ended
// without undoing them.
void UndoLeftoverRegistryChanges();

} // namespace testing_support
