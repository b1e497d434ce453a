// A file that is either written whole or not there at all: the bytes go to a
// temporary file beside it (NAME.part-PID), which commit() flushes, closes
// and renames onto the name. Dropped without commit() (an error, a stop, an
// exception), the temporary file is removed and an earlier file of the name
// is left as it was. Every file the tools write goes through it.
#pragma once

#include <cstdio>
#include <string>

namespace orv::host {

class OutputFile {
 public:
  // Creates the temporary file; throws HostError(unreadable) "PATH: cannot
  // write: REASON" when it cannot.
  explicit OutputFile(std::string path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  const std::string& path() const { return path_; }
  // The open stream (binary), null once committed or dropped.
  std::FILE* stream() const { return file_; }
  // Writes `size` bytes; false (and the reason kept) on an error.
  bool write(const void* data, std::size_t size);
  // Flushes and closes the temporary file and renames it onto the name;
  // returns the reason of a failure ("" on success), the file then absent.
  std::string commit();
  // As commit(), throwing HostError(unreadable) naming the file.
  void commit_or_throw();
  // Removes the temporary file (a commit() that is not wanted).
  void drop();
  // For a writer that writes by file name (GDI+): closes the stream and
  // returns the temporary file's name for it to write; commit() as usual.
  const std::string& hand_over();

 private:
  std::string path_, temporary_, error_;
  std::FILE* file_ = nullptr;
  bool pending_ = true;  // the temporary file exists and is neither renamed nor removed
};

}  // namespace orv::host
