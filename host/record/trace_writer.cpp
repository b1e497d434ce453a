#include "host/record/trace_writer.h"

#include "host/load/module_call.h"

namespace orv::host {

TraceWriter::TraceWriter(TraceOutput& out) : out_(out), buffer_(kBlock + 4096) {
  set_fault_flush(&on_fault, this);
}

TraceWriter::~TraceWriter() { set_fault_flush(nullptr, nullptr); }

void TraceWriter::finish() {
  drain();
  out_.flush();
}

// A crash in the module: the whole lines written so far go out, so the
// trace ends with the last line before the fault.
void TraceWriter::on_fault(void* self) {
  auto* w = static_cast<TraceWriter*>(self);
  std::size_t n = w->buffer_.size();
  while (n > 0 && w->buffer_.data()[n - 1] != '\n') --n;
  try {
    if (n > 0) w->out_.write(w->buffer_.data(), n);
    w->out_.flush();
  } catch (...) {
  }
}

void TraceWriter::drain() {
  if (!buffer_.empty()) out_.write(buffer_.data(), buffer_.size());
  buffer_.clear();
}

}  // namespace orv::host
