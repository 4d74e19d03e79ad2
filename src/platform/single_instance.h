#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace kelvane {

// One running gauge per user login: the first start holds a lock file in the runtime
// directory; a lock left by a process that no longer runs does not count.
class SingleInstance {
  public:
    explicit SingleInstance(const QString& directory);
    // False when another running gauge holds the lock; true when this process now holds it,
    // or when no lock can be made in the directory at all.
    bool TryAcquire();

  private:
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace kelvane
