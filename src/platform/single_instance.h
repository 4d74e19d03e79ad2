// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace kelvane {

// One running gauge per user login: the first start holds an advisory lock on a file in the
// runtime directory. The kernel drops the lock when its holder ends, however it ends, so
// neither a crash nor what the file holds can keep a later start out. A later start calls the
// running gauge back into view instead, as a user who lost it expects.
class SingleInstance {
  public:
    explicit SingleInstance(const QString& directory);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    // False when another running gauge holds the lock; true when this process now holds it,
    // or when no lock can be made in the directory at all.
    bool TryAcquire();
    // Once the lock is held: calls `call` each time a later start asks for this gauge.
    void AnswerCalls(std::function<void()> call);
    // Asks the gauge that holds the lock to come into view; false when none answers (it may
    // be starting still).
    bool CallRunning() const;

  private:
    QString path_;
    int fd_ = -1;
    int listener_ = -1;
    std::unique_ptr<QSocketNotifier> calls_;
};

}  // namespace kelvane
