#include "mappedfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace loomscope {

MappedFile::MappedFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error_ = std::strerror(errno);
        return;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error_ = std::strerror(errno);
    } else if (!S_ISREG(st.st_mode)) {
        error_ = std::strerror(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    } else if (st.st_size > 0) {
        void* p =
            ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (p == MAP_FAILED) {
            error_ = std::strerror(errno);
        } else {
            data_ = static_cast<const std::uint8_t*>(p);
            size_ = static_cast<std::size_t>(st.st_size);
            mapped_ = true;
            ::madvise(p, size_, MADV_SEQUENTIAL);
        }
    }
    ::close(fd);
}

MappedFile::~MappedFile()
{
    if (mapped_)
        ::munmap(const_cast<std::uint8_t*>(data_), size_);
}

} // namespace loomscope
