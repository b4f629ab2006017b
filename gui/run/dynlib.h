// TDynamicLibrary: one shared library loaded at run time by file name (dlopen, LoadLibraryW), with
// the exception classes the run command catches. Used to load the analysis engine for each run.
#pragma once

#include <stdexcept>
#include <string>

class EDLLError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EInitError : public EDLLError {
public:
    EInitError() : EDLLError("Library failed to properly initialize") {}
    explicit EInitError(const std::string& detail)
        : EDLLError("Library failed to properly initialize: " + detail) {}
};
class EFileNotFoundError : public EDLLError {
public:
    EFileNotFoundError() : EDLLError("Library could not be located") {}
};
class EDLLNotOpenError : public EDLLError {
public:
    EDLLNotOpenError() : EDLLError("Library is not open") {}
};

class TDynamicLibrary {
public:
    TDynamicLibrary() = default;
    // Sets the file name and, when CreateOpened is true, opens the library at once.
    explicit TDynamicLibrary(const std::string& AFileName, bool CreateOpened = false);
    ~TDynamicLibrary();
    TDynamicLibrary(const TDynamicLibrary&) = delete;
    TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;

    const std::string& FileName() const { return fFileName; }
    // Closes the library if it is open, then keeps the new name.
    void SetFileName(const std::string& Value);
    // Loads the library unless it is loaded already. A missing file raises EFileNotFoundError;
    // a file that exists but cannot be loaded (not a library, unresolved symbols, a failing
    // initialiser) raises EInitError with the loader's explanation.
    void Open();
    void OpenFile(const std::string& AFileName);
    bool GetIsOpen() const { return hLibModule != nullptr; }
    // Address of an exported procedure, or nullptr when the library has none of that name.
    // Raises EDLLNotOpenError when the library is not open.
    void* FindProcedure(const std::string& ProcName) const;
    void Close();

private:
    std::string fFileName;
    void* hLibModule = nullptr;
};
