// The single-instance test: one running client per program directory.
//
// An InstanceLock holds an exclusive, non-blocking flock on the file
// "tessaly.lock" in the given directory (created if missing) for as long as
// the object lives; the kernel drops it when the process ends, however it
// ends. A second lock on the same directory, from this or another process,
// finds it taken. Copies with their own program directory do not meet.
#pragma once

#include <string>

namespace tess {

class InstanceLock {
 public:
  explicit InstanceLock(const std::string& dir);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // True if this object holds the lock.
  bool Held() const { return fd_ >= 0; }
  // True if another instance holds it. False when the lock file could not
  // be opened at all (a read-only directory): then nothing is known and the
  // caller may run.
  bool AnotherInstanceRunning() const { return taken_; }

 private:
  int fd_ = -1;
  bool taken_ = false;
};

}  // namespace tess
