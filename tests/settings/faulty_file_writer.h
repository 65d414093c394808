#pragma once
// A hive writer that fails on request: a lock that another program keeps, a
// full disk, a file it may not write, a disk that fails the flush. Otherwise
// it hands the call on to the real writer, so that what the store reads back
// is what it wrote.
#include <memory>

#include "settings/atomic_file.h"

namespace serenitap::testing {

class FaultyFileWriter : public settings::AtomicFileWriter {
 public:
  // The error every lock ends in (33 for a lock kept elsewhere); 0: none.
  void FailLocks(settings::RegResult error) { lockError_ = error; }
  // The errno every replacement ends in (ENOSPC for a full disk); 0: none.
  void FailReplaces(int error) { replaceError_ = error; }
  // The errno every flush of a written temporary file ends in (EIO); 0: none.
  // The real writer has written the file when it fails.
  void FailFlushes(int error) { real_.flushError = error; }
  // How the store asked for the lock the last time.
  const settings::LockAttempt& LastAttempt() const { return lastAttempt_; }

  settings::RegResult Lock(const std::filesystem::path& lockFile, const settings::LockAttempt& attempt,
                           std::unique_ptr<settings::FileLock>* lock) override {
    lastAttempt_ = attempt;
    return lockError_ != 0 ? lockError_ : real_.Lock(lockFile, attempt, lock);
  }
  int Replace(const std::filesystem::path& file, std::string_view content, settings::FileStamp* stamp) override {
    return replaceError_ != 0 ? replaceError_ : real_.Replace(file, content, stamp);
  }

 private:
  struct FlushingWriter : settings::PosixFileWriter {
    int flushError = 0;
    int FlushFile(int fd) override { return flushError != 0 ? flushError : PosixFileWriter::FlushFile(fd); }
  };
  FlushingWriter real_;
  settings::RegResult lockError_ = 0;
  int replaceError_ = 0;
  settings::LockAttempt lastAttempt_;
};

}  // namespace serenitap::testing
