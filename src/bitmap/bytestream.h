// tbytesource, tbytesink: where a picture's bytes come from and go to. The
// engine reads and writes through these rather than iostreams, whose locale
// machinery would be most of the size of the programs that draw pictures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace pendo {

class tbytesource {
 public:
  virtual ~tbytesource() = default;
  // Copies up to n bytes to dst and answers how many came: fewer only at
  // the end of the source or when it fails.
  virtual size_t Read(void* dst, size_t n) = 0;
  // Passes over up to n bytes and answers how many.
  virtual uint64_t Skip(uint64_t n);
  // The bytes left, for a source that knows them.
  virtual bool Remaining(uint64_t& left) const { return false; }
};

class tbytesink {
 public:
  virtual ~tbytesink() = default;
  // All n bytes, or false.
  virtual bool Write(const void* src, size_t n) = 0;
};

// Bytes in memory the caller keeps alive while the source is read.
class tmemorysource final : public tbytesource {
 public:
  tmemorysource(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
  explicit tmemorysource(const std::string& bytes) : tmemorysource(bytes.data(), bytes.size()) {}
  size_t Read(void* dst, size_t n) override;
  uint64_t Skip(uint64_t n) override;
  bool Remaining(uint64_t& left) const override {
    left = size_ - pos_;
    return true;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Collects what is written in Bytes.
class tstringsink final : public tbytesink {
 public:
  bool Write(const void* src, size_t n) override;
  std::string Bytes;
};

// A file opened for reading ("rb") or writing ("wb"); IsOpen tells whether
// the open succeeded.
class tfilestream final : public tbytesource, public tbytesink {
 public:
  tfilestream(const std::string& path, const char* mode) : file_(std::fopen(path.c_str(), mode)) {}
  // A file opened by the caller (null: none); closed here.
  explicit tfilestream(std::FILE* file) : file_(file) {}
  ~tfilestream() override { Close(); }
  tfilestream(const tfilestream&) = delete;
  tfilestream& operator=(const tfilestream&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  size_t Read(void* dst, size_t n) override;
  uint64_t Skip(uint64_t n) override;
  bool Remaining(uint64_t& left) const override;
  bool Write(const void* src, size_t n) override;
  // Flushes and closes; false when a write did not reach the file.
  bool Close();

 private:
  std::FILE* file_;
};

}  // namespace pendo
