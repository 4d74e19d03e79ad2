// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace kelvane {

// One running gauge per user login: the first start holds an advisory lock on a file in the
// runtime directory. The kernel drops the lock when its holder ends, however it ends, so
// neither a crash nor what the file holds can keep a later start out.
class SingleInstance {
  public:
    explicit SingleInstance(const QString& directory);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    // False when another running gauge holds the lock; true when this process now holds it,
    // or when no lock can be made in the directory at all.
    bool TryAcquire();

  private:
    QString path_;
    int fd_ = -1;
};

}  // namespace kelvane
