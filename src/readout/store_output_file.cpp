#include "readout/store_output_file.h"

namespace nodra {

StoreOutputFile::StoreOutputFile() : buffer_(std::make_unique_for_overwrite<char[]>(kFlushAt + kRecordRoom)) {}

bool StoreOutputFile::create(const FilePlace& file, FileError& error) {
  used_ = 0;
  error_ = {};
  failed_ = !file_.open(file, error);
  return !failed_;
}

bool StoreOutputFile::flush() {
  if (!failed_ && used_ > 0) failed_ = !file_.write(std::string_view(buffer_.get(), used_), error_);
  used_ = 0;
  return !failed_;
}

bool StoreOutputFile::close(FileError& error) {
  if (!file_.isOpen() && !failed_) return false;
  if (flush()) failed_ = !file_.commit(error_);
  error = error_;
  file_.discard();
  return !failed_;
}

void StoreOutputFile::abandon() {
  file_.discard();
  used_ = 0;
}

}  // namespace nodra
