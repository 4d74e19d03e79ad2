// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The volumes asked from child processes: a volume that hangs, answers slowly or loses its
// child costs its own answers only. The questions are stand-ins that run in the children, by
// path: "stuck" never answers, "slow" answers once and then hangs, "denied" is refused, and
// any other path answers with as many blocks as it has characters.

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>

#include <unistd.h>
#include <QtTest>
#include <csignal>
#include <fstream>
#include <string>

#include "platform/linux/volume_queries.h"

using namespace kelvane;

namespace {

int questions = 0;  // in each child, its own count

VolumeFacts StandIn(const char* path, bool device) {
    const std::string_view p(path);
    if (p == "stuck" || (p == "slow" && questions++ > 0)) {
        for (;;) {
            ::pause();
        }
    }
    VolumeFacts facts;
    facts.error = p == "denied" ? EACCES : 0;
    facts.totalBlocks = p.size();
    facts.device = device ? 7 : 0;
    facts.hasDevice = device;
    return facts;
}

// The children of this process, from the kernel's list of each of its threads'.
QList<pid_t> Children() {
    QList<pid_t> pids;
    for (const QString& task :
         QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        std::ifstream list(QStringLiteral("/proc/self/task/%1/children").arg(task).toStdString());
        for (pid_t pid = 0; list >> pid;) {
            pids << pid;
        }
    }
    return pids;
}

// Waits until the slot has had an answer after `after`: its number, or 0 when none came.
std::uint64_t NextAnswer(VolumeQueries& q, int slot, std::uint64_t after) {
    std::uint64_t number = 0;
    const auto answered = [&] {
        q.Latest(slot, &number);
        return number > after;
    };
    return QTest::qWaitFor(answered, 20'000) ? number : 0;
}

}  // namespace

class TestVolumeQueries : public QObject {
    Q_OBJECT
  private slots:
    void oneVolumeCostsItsOwnAnswers_data();
    void oneVolumeCostsItsOwnAnswers();
    void answersCarryWhatIsAskedAndChildrenHoldNoFile();
};

void TestVolumeQueries::oneVolumeCostsItsOwnAnswers_data() {
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<bool>("answeredOnce");
    QTest::newRow("a volume that never answers has no answer, the others go on")
        << "stuck" << false;
    QTest::newRow("a volume that hangs after answering keeps its answer") << "slow" << true;
    QTest::newRow("a child killed from outside is replaced") << "kill" << true;
    QTest::newRow("a child stopped from outside is replaced") << "stop" << true;
}

void TestVolumeQueries::oneVolumeCostsItsOwnAnswers() {
    QFETCH(QString, trouble);
    QFETCH(bool, answeredOnce);
    VolumeQueries q(StandIn);
    const int healthy = q.Open("/home");
    const int troubled = q.Open(trouble.toStdString());
    QVERIFY(healthy >= 0 && troubled >= 0 && healthy != troubled);
    std::uint64_t answers = NextAnswer(q, healthy, 0);
    QVERIFY(answers > 0);
    if (trouble == "kill" || trouble == "stop") {
        for (const pid_t child : Children()) {
            ::kill(child, trouble == "kill" ? SIGKILL : SIGSTOP);
        }
    }
    // Well past the time after which a question counts as stuck, answers still come.
    for (int round = 0; round < 3; ++round) {
        answers = NextAnswer(q, healthy, answers + 40);
        QVERIFY2(answers > 0, "the healthy volume answers no more");
        QCOMPARE(q.Latest(healthy)->totalBlocks, 5u);
    }
    const std::optional<VolumeFacts> facts = q.Latest(troubled);
    QCOMPARE(facts.has_value(), answeredOnce);
    if (trouble == "slow") {
        QCOMPARE(facts->totalBlocks, 4u);
    }
    // A child left behind is one more process, never one per question (one more may be on its
    // way out, on a machine so busy that a quick question looked stuck).
    QVERIFY(q.Children() <= 3);
}

// The children hold none of the gauge's files: a pipe of the gauge's is closed once the gauge
// closes it (so is its X connection, its lock, and a launcher's pipe).
void TestVolumeQueries::answersCarryWhatIsAskedAndChildrenHoldNoFile() {
    int pipe[2];
    QVERIFY(::pipe2(pipe, O_CLOEXEC) == 0);
    VolumeQueries q(StandIn);
    // What the kernel answers from memory is asked here, every time: no child for it.
    const int here = q.Open("/boot", true);
    QCOMPARE(q.Wait(here, std::chrono::seconds(20))->totalBlocks, 5u);
    std::uint64_t first = 0;
    std::uint64_t second = 0;
    q.Latest(here, &first);
    q.Latest(here, &second);
    QVERIFY(second > first);
    QCOMPARE(q.Children(), 0);
    const int slot = q.Open("/srv");
    const int refused = q.Open("denied");
    QVERIFY(q.Wait(refused, std::chrono::seconds(20)).has_value());
    QCOMPARE(q.Latest(refused)->error, EACCES);
    std::uint64_t number = NextAnswer(q, slot, 0);
    QVERIFY(!q.Latest(slot)->hasDevice);
    q.AskDevice(slot, true);
    number = NextAnswer(q, slot, q.AnswersSoFar(slot));
    QVERIFY(number > 0);
    QVERIFY(q.Latest(slot)->hasDevice);
    QCOMPARE(q.Latest(slot)->device, 7u);
    ::close(pipe[1]);
    pollfd end{pipe[0], POLLIN, 0};
    QCOMPARE(::poll(&end, 1, 0), 1);
    QVERIFY(end.revents & POLLHUP);
    ::close(pipe[0]);
}

QTEST_GUILESS_MAIN(TestVolumeQueries)
#include "tst_volume_queries.moc"
