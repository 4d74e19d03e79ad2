#include "platform/single_instance.h"

namespace kelvane {

SingleInstance::SingleInstance(const QString& directory)
    : lock_(std::make_unique<QLockFile>(directory + QStringLiteral("/kelvane.lock"))) {
    // Only a lock whose owner has gone is stale: age alone never frees a running gauge's lock.
    lock_->setStaleLockTime(0);
}

bool SingleInstance::TryAcquire() {
    return lock_->tryLock(0);
}

}  // namespace kelvane
