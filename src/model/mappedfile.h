#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace loomscope {

// A whole file mapped read-only into memory. The descriptor is closed as soon as the mapping
// exists; the mapping itself ends with the object.
class MappedFile {
public:
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    std::span<const std::uint8_t> bytes() const { return {data_, size_}; }

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    bool mapped_ = false;
    std::string error_;
};

} // namespace loomscope
