#include "platform/single_instance.h"

namespace kelvane {

SingleInstance::SingleInstance(const QString& directory)
    : lock_(std::make_unique<QLockFile>(directory + QStringLiteral("/kelvane.lock"))) {
    // Only a lock whose owner has gone is stale: age alone never frees a running gauge's lock.
    lock_->setStaleLockTime(0);
}

bool SingleInstance::TryAcquire() {
    if (lock_->tryLock(0)) {
        return true;
    }
    // Only a lock held by a running gauge ends this start; a lock that cannot be made at all
    // (no writable place for it) must not keep the gauge from running.
    return lock_->error() != QLockFile::LockFailedError;
}

}  // namespace kelvane
