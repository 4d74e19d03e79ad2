// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "platform/windows/drive_queries.h"

#include <shellapi.h>

#include <atomic>
#include <cwchar>
#include <cwctype>
#include <initializer_list>
#include <new>
#include <string>
#include <vector>

#include "platform/shared_answer.h"

namespace kelvane {
namespace {

constexpr int kLetters = DriveQueries::kLetters;
constexpr int kHelpers = DriveQueries::kHelpers;
constexpr wchar_t kHelperArgument[] = L"--kelvane-drive-helper";
// A letter read within this is asked again every round; one no longer read rests.
constexpr ULONGLONG kKeptFresh = 250;
constexpr DWORD kRound = 10;
// A question that takes this long is taken for stuck: its helper is left behind.
constexpr ULONGLONG kStuck = 300;
// A helper has this long for its first round: starting a process takes tens of milliseconds,
// but a virus scanner's first look at the executable can take seconds.
constexpr ULONGLONG kFirstRound = 10000;
// After a helper could not be started, or ended before its first round, the next try waits.
constexpr ULONGLONG kStartPause = 1000;

enum : std::uint32_t { kClosed, kSpaceAsked, kProbeAsked };

}  // namespace

// What the gauge and its helpers share: lock-free atomics only, the same in every process
// that maps them.
struct DriveQueries::Board {
    struct Slot {
        std::atomic<std::uint32_t> asked{kClosed};
        std::atomic<std::int32_t> owner{-1};  // the helper that asks about the letter
        std::atomic<std::uint64_t> readAt{0};
        SharedAnswer<4> answer;
    };
    struct Helper {
        std::atomic<std::uint32_t> leftBehind{0};
        std::atomic<std::uint32_t> sleeping{0};
        std::atomic<std::int32_t> busy{-1};  // the letter being asked about
        std::atomic<std::uint64_t> busySince{0};
        std::atomic<std::uint64_t> rounds{0};
    };
    Slot slots[kLetters];
    Helper helpers[kHelpers];
    std::atomic<std::uint32_t> waiting{0};  // the gauge waits for an answer
};

namespace {

using Board = DriveQueries::Board;

void Store(Board::Slot& slot, const DriveFacts& f) {
    slot.answer.Write({f.error | (std::uint64_t{f.probed} << 32),
                       f.driveType | (std::uint64_t{f.volumeFlags} << 32), f.freeToCaller,
                       f.total});
}

// The answer as written, or nothing while none is or one is being written over it.
bool Load(const Board::Slot& slot, std::uint64_t& sequence, DriveFacts& f) {
    std::array<std::uint64_t, 4> v{};
    if (!slot.answer.Read(v, sequence) || sequence == 0) {
        return false;
    }
    f = {static_cast<DWORD>(v[0]),
         (v[0] >> 32) != 0,
         static_cast<UINT>(v[1]),
         static_cast<DWORD>(v[1] >> 32),
         v[2],
         v[3]};
    return true;
}

bool Wanted(const Board::Slot& slot, int me, ULONGLONG now) {
    const std::uint32_t asked = slot.asked.load();
    return asked != kClosed && slot.owner.load() == me &&
           (asked == kProbeAsked || slot.answer.sequence.load() == 0 ||
            now <= slot.readAt.load() + kKeptFresh);
}

bool AnyWanted(const Board& board, int me, ULONGLONG now) {
    for (const Board::Slot& slot : board.slots) {
        if (Wanted(slot, me, now)) {
            return true;
        }
    }
    return false;
}

DWORD LastError() {
    const DWORD error = ::GetLastError();
    return error != 0 ? error : ERROR_GEN_FAILURE;
}

// The probe asks whether the letter is a disk (an optical drive's disc is not one to fill),
// ready, and writable, from the volume's own flags: writing a file to find out is not the
// gauge's to do, and a standard user cannot create one in C:\ anyway.
DriveFacts Ask(const DriveCalls& calls, int letter, bool probe) {
    const wchar_t root[] = {static_cast<wchar_t>(L'C' + letter), L':', L'\\', L'\0'};
    DriveFacts f;
    f.probed = probe;
    if (probe) {
        f.driveType = calls.driveType(root);
        if (f.driveType != DRIVE_FIXED && f.driveType != DRIVE_REMOVABLE &&
            f.driveType != DRIVE_REMOTE && f.driveType != DRIVE_RAMDISK) {
            f.error = ERROR_INVALID_DRIVE;
            return f;
        }
        DWORD flags = 0;
        if (!calls.volumeInformation(root, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0)) {
            f.error = LastError();
            return f;
        }
        f.volumeFlags = flags;
    }
    ULARGE_INTEGER freeToCaller{};
    ULARGE_INTEGER total{};
    if (!calls.freeSpace(root, &freeToCaller, &total, nullptr)) {
        f.error = LastError();
        return f;
    }
    f.freeToCaller = freeToCaller.QuadPart;
    f.total = total.QuadPart;
    return f;
}

int Serve(const DriveCalls& calls, int me, HANDLE section, HANDLE wake, HANDLE answered,
          HANDLE gauge) {
    // A drive without its medium fails the question instead of asking the user for a disk.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    void* view = ::MapViewOfFile(section, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Board));
    if (view == nullptr || me < 0 || me >= kHelpers) {
        return 2;
    }
    Board& board = *static_cast<Board*>(view);
    Board::Helper& self = board.helpers[me];
    const HANDLE events[] = {gauge, wake};
    for (;;) {
        const ULONGLONG round = ::GetTickCount64();
        bool asked = false;
        for (int s = 0; s < kLetters; ++s) {
            Board::Slot& slot = board.slots[s];
            if (!Wanted(slot, me, round)) {
                continue;
            }
            self.busySince.store(::GetTickCount64());
            self.busy.store(s);
            // Looked at again once busy: the gauge hands a letter on to another helper only
            // while none is busy with it.
            if (self.leftBehind.load() != 0) {
                return 0;
            }
            const std::uint32_t question = slot.asked.load();
            if (question == kClosed || slot.owner.load() != me) {
                self.busy.store(-1);
                continue;
            }
            Store(slot, Ask(calls, s, question == kProbeAsked));
            self.busy.store(-1);
            asked = true;
            if (board.waiting.load() != 0) {
                ::SetEvent(answered);
            }
        }
        self.rounds.fetch_add(1);
        if (self.leftBehind.load() != 0) {
            return 0;
        }
        if (asked) {
            // Between rounds a plain sleep: under Wine a wait on objects is a round trip to its
            // server, twice a round, where a sleep is the system's own. A gauge that has gone
            // reads no letter, so within a quarter of a second this helper waits below and
            // sees it go.
            ::Sleep(kRound);
            continue;
        }
        // Nothing to ask: asleep until the gauge reads a letter again.
        self.sleeping.store(1);
        const DWORD rest = AnyWanted(board, me, ::GetTickCount64()) ? 0 : INFINITE;
        const DWORD woken = ::WaitForMultipleObjects(2, events, FALSE, rest);
        self.sleeping.store(0);
        if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED) {
            return 0;  // the gauge has gone
        }
    }
}

HANDLE HandleArgument(const wchar_t* text) {
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(std::wcstoull(text, nullptr, 10)));
}

std::wstring HandleText(HANDLE handle) {
    return std::to_wstring(reinterpret_cast<std::uintptr_t>(handle));
}

std::wstring OwnExecutable() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) {
            return {};
        }
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// The system folder, so that a helper holds no folder open on a volume the user may want to
// eject (the gauge may have been started from a stick).
std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH];
    const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(folder, n) : std::wstring();
}

// The letter of the drive Windows runs from; asking for the folder touches no volume.
int SystemLetter() {
    wchar_t folder[MAX_PATH];
    const UINT n = ::GetSystemWindowsDirectoryW(folder, MAX_PATH);
    const int letter = n >= 2 && n < MAX_PATH && folder[1] == L':'
                           ? static_cast<int>(std::towupper(folder[0])) - L'C'
                           : -1;
    return letter >= 0 && letter < kLetters ? letter : -1;
}

}  // namespace

std::optional<int> ServeDriveQuestions(const DriveCalls& calls) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr) {
        return std::nullopt;
    }
    std::optional<int> status;
    if (argc == 7 && std::wcscmp(argv[1], kHelperArgument) == 0) {
        status = Serve(calls, static_cast<int>(std::wcstol(argv[2], nullptr, 10)),
                       HandleArgument(argv[3]), HandleArgument(argv[4]), HandleArgument(argv[5]),
                       HandleArgument(argv[6]));
    }
    ::LocalFree(argv);
    return status;
}

DriveQueries::DriveQueries(const DriveCalls& calls) : calls_(calls), systemLetter_(SystemLetter()) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    section_ = ::CreateFileMappingW(INVALID_HANDLE_VALUE, &inherited, PAGE_READWRITE, 0,
                                    sizeof(Board), nullptr);
    answered_ = ::CreateEventW(&inherited, FALSE, FALSE, nullptr);
    ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), &gauge_,
                      SYNCHRONIZE, TRUE, 0);
    // Helpers end with the gauge, however it ends; where the job cannot be made (an older
    // Windows that allows no job within the gauge's own), they see the gauge go and end.
    job_ = ::CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job_ != nullptr && !::SetInformationJobObject(job_, JobObjectExtendedLimitInformation,
                                                      &limits, sizeof limits)) {
        ::CloseHandle(job_);
        job_ = nullptr;
    }
    void* view = section_ != nullptr && answered_ != nullptr && gauge_ != nullptr
                     ? ::MapViewOfFile(section_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Board))
                     : nullptr;
    if (view != nullptr) {
        board_ = new (view) Board;
    }
}

// Helpers are ended, not waited for: one stuck in a question goes once the question returns.
DriveQueries::~DriveQueries() {
    for (int i = 0; i < kHelpers; ++i) {
        if (helpers_[i].process != nullptr) {
            ::TerminateProcess(helpers_[i].process, 0);
            Forget(i);
        }
    }
    for (HANDLE handle : {job_, gauge_, answered_, section_}) {
        if (handle != nullptr) {
            ::CloseHandle(handle);
        }
    }
    if (board_ != nullptr) {
        ::UnmapViewOfFile(board_);
    }
}

std::optional<DriveFacts> DriveQueries::Latest(int letter) {
    if (letter == systemLetter_) {
        return Ask(calls_, letter, false);
    }
    if (board_ == nullptr || letter < 0 || letter >= kLetters) {
        return std::nullopt;
    }
    const ULONGLONG now = ::GetTickCount64();
    Board::Slot& slot = board_->slots[letter];
    slot.readAt.store(now);
    if (slot.asked.load() == kClosed) {
        slot.owner.store(current_);
        slot.asked.store(kSpaceAsked);
        unsettled_ = true;
    }
    Watch(now);
    Wake(slot.owner.load());
    std::uint64_t sequence = 0;
    DriveFacts facts;
    return Load(slot, sequence, facts) ? std::optional(facts) : std::nullopt;
}

std::optional<DriveFacts> DriveQueries::Probe(int letter) {
    if (letter == systemLetter_) {
        return Ask(calls_, letter, true);
    }
    if (board_ == nullptr || letter < 0 || letter >= kLetters) {
        return std::nullopt;
    }
    Board::Slot& slot = board_->slots[letter];
    const std::uint64_t before = slot.answer.sequence.load();
    if (slot.asked.exchange(kProbeAsked) == kClosed) {
        slot.owner.store(current_);
        unsettled_ = true;
    }
    board_->waiting.store(1);
    std::optional<DriveFacts> answer;
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        slot.readAt.store(now);
        Watch(now);
        std::uint64_t sequence = 0;
        DriveFacts facts;
        if (Load(slot, sequence, facts) && sequence > before && facts.probed) {
            answer = facts;
            break;
        }
        const int owner = slot.owner.load();
        const bool stuck = owner >= 0 && owner != current_ && helpers_[owner].process != nullptr &&
                           board_->helpers[owner].busy.load() == letter;
        if (stuck || Current(now) < 0) {
            break;
        }
        Wake(owner);
        ::WaitForSingleObject(answered_, kRound);
    }
    board_->waiting.store(0);
    slot.asked.store(kSpaceAsked);
    return answer;
}

int DriveQueries::Current(ULONGLONG now) {
    if (current_ >= 0 || now < nextStart_) {
        return current_;
    }
    for (int i = 0; i < kHelpers; ++i) {
        if (helpers_[i].process == nullptr) {
            if (!Start(i, now)) {
                nextStart_ = now + kStartPause;
            }
            break;
        }
    }
    return current_;
}

bool DriveQueries::Start(int i, ULONGLONG now) {
    Board::Helper& helper = board_->helpers[i];
    helper.leftBehind.store(0);
    helper.sleeping.store(0);
    helper.busy.store(-1);
    helper.rounds.store(0);
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE wake = ::CreateEventW(&inherited, FALSE, FALSE, nullptr);
    const std::wstring exe = OwnExecutable();
    if (wake == nullptr || exe.empty()) {
        if (wake != nullptr) {
            ::CloseHandle(wake);
        }
        return false;
    }
    std::wstring command = L"\"" + exe + L"\" " + kHelperArgument + L" " + std::to_wstring(i);
    for (HANDLE handle : {section_, wake, answered_, gauge_}) {
        command += L" " + HandleText(handle);
    }
    // Only these handles go to the helper: none of the gauge's files, pipes or windows.
    HANDLE inheritedHandles[] = {section_, wake, answered_, gauge_};
    SIZE_T size = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<std::uint64_t> attributes((size + 7) / 8);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.lpAttributeList = list;
    PROCESS_INFORMATION process{};
    const std::wstring folder = SystemFolder();
    bool started = false;
    if (::InitializeProcThreadAttributeList(list, 1, 0, &size)) {
        started = ::UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                              inheritedHandles, sizeof inheritedHandles, nullptr,
                                              nullptr) &&
                  ::CreateProcessW(
                      exe.c_str(), command.data(), nullptr, nullptr, TRUE,
                      EXTENDED_STARTUPINFO_PRESENT | CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup.StartupInfo, &process);
        ::DeleteProcThreadAttributeList(list);
    }
    if (!started) {
        ::CloseHandle(wake);
        return false;
    }
    if (job_ != nullptr) {
        ::AssignProcessToJobObject(job_, process.hProcess);
    }
    ::ResumeThread(process.hThread);
    ::CloseHandle(process.hThread);
    helpers_[i] = {process.hProcess, wake};
    current_ = i;
    lastRounds_ = 0;
    lastProgress_ = now;
    unsettled_ = true;
    return true;
}

void DriveQueries::Wake(int i) {
    if (i < 0 || i >= kHelpers || helpers_[i].process == nullptr) {
        return;
    }
    // Cleared here, so that a helper that has died asleep shows no sign of life either.
    if (board_->helpers[i].sleeping.exchange(0) != 0) {
        ::SetEvent(helpers_[i].wake);
    }
}

bool DriveQueries::Ended(int i) {
    if (::WaitForSingleObject(helpers_[i].process, 0) != WAIT_OBJECT_0) {
        return false;
    }
    Forget(i);
    return true;
}

void DriveQueries::Forget(int i) {
    ::CloseHandle(helpers_[i].process);
    ::CloseHandle(helpers_[i].wake);
    helpers_[i] = {};
}

void DriveQueries::Watch(ULONGLONG now) {
    if (current_ >= 0) {
        Board::Helper& helper = board_->helpers[current_];
        const int busy = helper.busy.load();
        const std::uint64_t rounds = helper.rounds.load();
        if (rounds != lastRounds_ || helper.sleeping.load() != 0) {
            lastRounds_ = rounds;
            lastProgress_ = now;
        }
        const bool stuck = busy >= 0 && now > helper.busySince.load() + kStuck;
        // A helper that neither asks nor rests has ended (killed from outside, say) or cannot
        // run (suspended by a debugger): it is ended for good, and replaced. One that ended
        // before its first round could not start; the next try waits a little.
        const bool starting = rounds == 0 && busy < 0;
        const bool died = starting && Ended(current_);
        const bool silent =
            died || (busy < 0 && now > lastProgress_ + (starting ? kFirstRound : kStuck));
        if (died) {
            nextStart_ = now + kStartPause;
        } else if (silent) {
            ::TerminateProcess(helpers_[current_].process, 1);
        }
        if (stuck || silent) {
            helper.leftBehind.store(1);
            Wake(current_);
            current_ = -1;
            unsettled_ = true;
        }
    }
    if (!unsettled_ || Current(now) < 0) {
        return;
    }
    // Helpers left behind are collected once they have ended, and every letter but one that
    // such a helper is asking about still goes on in the current helper.
    bool settled = true;
    for (int i = 0; i < kHelpers; ++i) {
        if (i != current_ && helpers_[i].process != nullptr && !Ended(i)) {
            settled = false;
        }
    }
    for (int s = 0; s < kLetters; ++s) {
        Board::Slot& slot = board_->slots[s];
        const int owner = slot.owner.load();
        if (slot.asked.load() == kClosed || owner == current_) {
            continue;
        }
        if (owner >= 0 && helpers_[owner].process != nullptr &&
            board_->helpers[owner].busy.load() == s) {
            settled = false;
            continue;
        }
        slot.owner.store(current_);
        Wake(current_);
    }
    unsettled_ = !settled;
}

}  // namespace kelvane
