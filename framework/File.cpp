#include "framework/File.h"

#include "framework/MessageBox.h"

namespace {

constexpr std::size_t kTextBufferSize = 64 * 1024;

std::string ReplacePlaceholder(std::string text, const std::string& value)
{
    const auto at = text.find("%1");
    if (at != std::string::npos)
        text.replace(at, 2, value);
    return text;
}

}  // namespace

FileException::FileException(Cause cause, DWORD osError, std::string fileName)
    : cause_(cause), osError_(osError), fileName_(std::move(fileName))
{
}

FileException::Cause FileException::CauseOf(DWORD osError)
{
    switch (osError) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return diskFull;
    case ERROR_ACCESS_DENIED:
        return accessDenied;
    case ERROR_SHARING_VIOLATION:
        return sharingViolation;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_NOT_READY:
    case ERROR_IO_DEVICE:
        return hardIO;
    default:
        return genericException;
    }
}

std::string FileException::Message() const
{
    const char* text;
    switch (cause_) {
    case diskFull:
        text = "Disk full while accessing %1.";
        break;
    case accessDenied:
        text = "Access to %1 was denied.";
        break;
    case sharingViolation:
        text = "Sharing violation while accessing %1.";
        break;
    case hardIO:
        text = "A hardware I/O error was reported while accessing %1.";
        break;
    default:
        text = "An unexpected error occurred while accessing %1.";
        break;
    }
    return ReplacePlaceholder(text, fileName_);
}

void FileException::ReportError() const
{
    AppMessageBox(Message(), MB_OK | MB_ICONSTOP);
}

std::string FullPathOf(const std::string& name)
{
    if (name.empty())
        return name;
    std::string full(MAX_PATH, '\0');
    DWORD n = GetFullPathNameA(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n >= full.size()) {
        full.resize(n);
        n = GetFullPathNameA(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (n == 0 || n >= full.size())
        return name;
    full.resize(n);
    return full;
}

BinaryFile::~BinaryFile()
{
    Close();
}

bool BinaryFile::OpenRead(const std::string& path)
{
    Close();
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return false;
    }
    handle_ = h;
    path_ = path;
    return true;
}

std::size_t BinaryFile::Read(void* buffer, std::size_t size)
{
    DWORD got = 0;
    if (!ReadFile(handle_, buffer, static_cast<DWORD>(size), &got, nullptr)) {
        const DWORD error = GetLastError();
        if (error == ERROR_HANDLE_EOF)
            return 0;
        throw FileException(FileException::CauseOf(error), error, FullPathOf(path_));
    }
    return got;
}

void BinaryFile::Close()
{
    if (handle_ != INVALID_HANDLE_VALUE) {
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
}

TextFile::~TextFile()
{
    Abort();
}

bool TextFile::Open(const std::string& path, Mode mode)
{
    Abort();
    const bool write = mode == Mode::CreateWrite;
    HANDLE h = CreateFileA(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ, 0, nullptr,
                           write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    handle_ = h;
    path_ = FullPathOf(path);
    buffer_.clear();
    return true;
}

void TextFile::WriteString(std::string_view text)
{
    for (char c : text) {
        if (c == '\n')
            buffer_ += '\r';
        buffer_ += c;
    }
    if (buffer_.size() >= kTextBufferSize)
        Flush();
}

void TextFile::Flush()
{
    std::size_t done = 0;
    while (done < buffer_.size()) {
        DWORD wrote = 0;
        const DWORD chunk = static_cast<DWORD>(buffer_.size() - done);
        if (!WriteFile(handle_, buffer_.data() + done, chunk, &wrote, nullptr) || wrote == 0) {
            DWORD error = GetLastError();
            if (error == ERROR_SUCCESS)
                error = ERROR_DISK_FULL;  // a short write with no error is a full disk
            buffer_.clear();
            throw FileException(FileException::CauseOf(error), error, path_);
        }
        done += wrote;
    }
    buffer_.clear();
}

void TextFile::Close()
{
    if (handle_ == INVALID_HANDLE_VALUE)
        return;
    try {
        Flush();
    } catch (...) {
        Abort();
        throw;
    }
    const BOOL closed = CloseHandle(handle_);
    const DWORD error = GetLastError();
    handle_ = INVALID_HANDLE_VALUE;
    if (!closed)
        throw FileException(FileException::CauseOf(error), error, path_);
}

void TextFile::Abort()
{
    if (handle_ != INVALID_HANDLE_VALUE) {
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    buffer_.clear();
}
