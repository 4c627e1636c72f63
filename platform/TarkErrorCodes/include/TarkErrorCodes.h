// TarkErrorCodes: the maker's error library. Error numbers, the reference-counted
// exception object and the result value that file operations return.
#pragma once

#include <windows.h>

#ifdef TARKERRORCODES_BUILD
#define TARKERR_API __declspec(dllexport)
#else
#define TARKERR_API __declspec(dllimport)
#endif

// Error numbers; 0 means no error. The numbers are stable: callers compare them.
enum ZarnErrorCode : INT32
{
    ZEC_NO_ERROR            = 0,
    ZEC_USER_STOPPED        = 100, // the user chose not to go on
    ZEC_INVALID_ARGUMENTS   = 101,
    ZEC_NAME_BLOCK_FAILED   = 102, // a shell name block could not be built
    ZEC_FILE_OPEN_FAILED    = 201,
    ZEC_FILE_READ_FAILED    = 202, // a read failed or was short
    ZEC_NO_UNIQUE_NAME      = 205,
    ZEC_FILES_NOT_FOUND     = 207, // the folder is missing or none of the files exists
    ZEC_RENAME_FAILED       = 211,
    ZEC_SHELL_OP_FAILED     = 212, // the shell refused or failed a file operation
    ZEC_NOT_CACHE_FILE      = 321,
    ZEC_CACHE_VERSION       = 542,
};

// The error object. Thrown by value and caught by reference inside a worker;
// results keep heap copies of it, shared through a reference count.
class TARKERR_API CZException
{
public:
    CZException(ZarnErrorCode code, const wchar_t* pszText, bool bReport, bool bLog,
                const wchar_t* pszFile, int nLine);
    CZException(const CZException& other);
    CZException& operator=(const CZException&) = delete;
    virtual ~CZException();

    ZarnErrorCode GetErrorCode() const { return m_code; }
    const wchar_t* GetText() const { return m_pszText ? m_pszText : L""; }
    const wchar_t* GetFile() const { return m_pszFile ? m_pszFile : L""; }
    int GetLine() const { return m_nLine; }

    // Reference counting of heap copies (a new object holds one reference).
    void AddRef();
    // Drops one reference and deletes the object when none is left;
    // returns the references that remain.
    unsigned long Release();

private:
    volatile LONG m_nRefs;
    ZarnErrorCode m_code;
    wchar_t* m_pszText; // owned copies; null when none was given
    wchar_t* m_pszFile;
    int m_nLine;
    bool m_bReport;
    bool m_bLog;
};

// The result of an operation: empty (success) or a shared reference to the
// exception that describes the failure. One pointer wide; callers rely on that.
class TARKERR_API CErrorAutoThrow
{
public:
    CErrorAutoThrow() noexcept : m_pException(nullptr) {}
    CErrorAutoThrow(const CZException& error);
    CErrorAutoThrow(const CErrorAutoThrow& other) noexcept;
    CErrorAutoThrow& operator=(const CErrorAutoThrow& other) noexcept;
    ~CErrorAutoThrow();

    // Replaces whatever the value carried with a new error.
    void SetError(ZarnErrorCode code, const wchar_t* pszText, const wchar_t* pszFile, int nLine);
    void ClearError() noexcept;

    bool HasError() const noexcept { return m_pException != nullptr; }
    ZarnErrorCode GetErrorCode() const noexcept;
    const CZException* GetException() const noexcept { return m_pException; }

    operator ZarnErrorCode() const noexcept { return GetErrorCode(); }
    bool operator==(ZarnErrorCode code) const noexcept { return GetErrorCode() == code; }
    bool operator!=(ZarnErrorCode code) const noexcept { return GetErrorCode() != code; }

private:
    CZException* m_pException;
};

static_assert(sizeof(CErrorAutoThrow) == sizeof(void*), "a result is one pointer wide");
