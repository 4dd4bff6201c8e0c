// Files as the program uses them: a binary file read in blocks by the
// scanner, and a text file for the report whose every "\n" reaches the disk
// as CR LF. A failure after a successful open raises FileException, which the
// command dispatch of the dialogs catches and shows.
#pragma once

#include <windows.h>

#include <cstddef>
#include <exception>
#include <string>
#include <string_view>

class FileException : public std::exception {
public:
    enum Cause {
        none = 0,
        genericException = 1,
        accessDenied = 5,
        hardIO = 10,
        sharingViolation = 11,
        diskFull = 13,
    };

    FileException(Cause cause, DWORD osError, std::string fileName);

    static Cause CauseOf(DWORD osError);

    Cause cause() const { return cause_; }
    DWORD osError() const { return osError_; }
    const std::string& fileName() const { return fileName_; }

    // The text shown to the user, with the file's full path.
    std::string Message() const;
    // Shows Message() with the stop icon.
    void ReportError() const;

    const char* what() const noexcept override { return "file exception"; }

private:
    Cause cause_;
    DWORD osError_;
    std::string fileName_;
};

// The full path of a name as the system resolves it against the current
// directory; the name itself when it cannot be resolved.
std::string FullPathOf(const std::string& name);

class BinaryFile {
public:
    BinaryFile() = default;
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    // Opens an existing disk file for reading, granting no sharing to others.
    // A directory, a device, a pipe or a socket does not open: reading one
    // could block or never end.
    bool OpenRead(const std::string& path);

    // Up to size bytes; 0 at the end of the file. Raises FileException.
    std::size_t Read(void* buffer, std::size_t size);

    void Close();
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::string path_;
};

class TextFile {
public:
    enum class Mode { Read, CreateWrite };

    TextFile() = default;
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // Read: an existing file, no sharing. CreateWrite: created when absent,
    // cut to zero length when present, no sharing. False on failure.
    bool Open(const std::string& path, Mode mode);

    // Text mode: every "\n" is written as CR LF. Raises FileException.
    void WriteString(std::string_view text);

    // Writes what is buffered and closes. Raises FileException when the data
    // cannot be written; the file is closed in either case.
    void Close();

    // Closes without writing what is still buffered and without raising.
    void Abort();

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    const std::string& FilePath() const { return path_; }

private:
    void Flush();

    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::string path_;
    std::string buffer_;
};
