// Where a trace goes: standard output, a C stream or a C++ stream.
#pragma once

#include <cstddef>
#include <cstdio>
#include <ostream>
#include <string>
#include <utility>

namespace orv::host {

// Where a trace goes: written in pieces as it is made (a run of any length
// holds no more than one buffer of it), failures reported by throwing
// HostError(unreadable) naming the output.
class TraceOutput {
 public:
  virtual ~TraceOutput() = default;
  virtual void write(const char* data, std::size_t size) = 0;
  virtual void flush() = 0;
};

// A C stream (standard output); `name` is what an error message calls it.
class FileTraceOutput : public TraceOutput {
 public:
  FileTraceOutput(std::FILE* file, std::string name) : file_(file), name_(std::move(name)) {}
  void write(const char* data, std::size_t size) override;
  void flush() override;

 private:
  [[noreturn]] void fail() const;
  std::FILE* file_;
  std::string name_;
};

// A C++ stream.
class StreamTraceOutput : public TraceOutput {
 public:
  explicit StreamTraceOutput(std::ostream& out) : out_(out) {}
  void write(const char* data, std::size_t size) override;
  void flush() override;

 private:
  std::ostream& out_;
};

}  // namespace orv::host
