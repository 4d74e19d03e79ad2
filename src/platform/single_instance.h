// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace kelvane {

// One running gauge per user and settings file, whatever the environment says: the first
// start holds a name in the abstract socket namespace, made from the user and `key` (the
// settings file's path), and an advisory lock on a file in the runtime directory `directory`,
// which holds where another user has taken the name. The kernel drops both when their holder
// ends, however it ends, so neither a crash nor what the file holds can keep a later start
// out. A later start calls the running gauge back into view instead, as a user who lost it
// expects: by the abstract name, or by a socket beside the lock, which a start in another
// network namespace (a sandbox without network) reaches where it cannot reach the name.
class SingleInstance {
  public:
    SingleInstance(const QString& directory, const QByteArray& key);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    // False when another running gauge holds the lock; true when this process now holds it,
    // or when no lock can be made in the directory at all.
    bool TryAcquire();
    // Once the lock is held: calls `call` each time a later start asks for this gauge.
    void AnswerCalls(std::function<void()> call);
    // Asks this user's gauge that holds the name or the lock to come into view; false when
    // none answers.
    bool CallRunning() const;

  private:
    QString path_;
    QString socketPath_;
    QByteArray key_;
    mutable bool called_ = false;
    int fd_ = -1;
    int listener_ = -1;
    int pathListener_ = -1;
    std::vector<std::unique_ptr<QSocketNotifier>> calls_;
};

}  // namespace kelvane
