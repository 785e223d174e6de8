// bench_startup: start-up of tarvel4410-config --demo on the offscreen platform, from the
// process start to its main window shown, and the peak memory of that process; beside the
// same figures for the smallest Qt Widgets program (one window with a label), the floor
// Qt itself sets on this machine.
//
// Each run is a fresh process: this program started again with --child, which runs the
// program's own start-up (CVeskPcApp::Run, as tarvel4410-config's main does) and reports,
// through a pipe, the moment its first main window is shown; then it quits; its own
// messages go to a log file, shown when it fails. Its peak
// resident set comes from wait4. Settings, desktop files and the port map go to a private
// folder, never to the user's.
//
// usage: bench_startup [RUNS]   (default 10, after one warm-up run per kind)

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <spawn.h>
#include <stdlib.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QTimer>

#include "app/vesk_pc_app.h"
#include "private_folder.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

constexpr const char* kChildOption = "--child";
constexpr int kDefaultRuns = 10;

// ---- the child: one start-up ----------------------------------------------------------

// Reports the first main window shown on standard output (steady clock, nanoseconds since
// its epoch, which is system-wide), then lets the event loop end the program.
class FirstMainWindow final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_reported && event->type() == QEvent::Show &&
            qobject_cast<QMainWindow*>(watched) != nullptr) {
            m_reported = true;
            const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                Clock::now().time_since_epoch());
            std::printf("shown %lld\n", static_cast<long long>(now.count()));
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    bool m_reported = false;
};

int RunChild(int argc, char** argv, const std::string& kind)
{
    QApplication app(argc, argv);
    FirstMainWindow watcher;
    app.installEventFilter(&watcher);
    if (kind == "qt") {
        QMainWindow window;
        window.setCentralWidget(new QLabel(QStringLiteral("Qt")));
        window.show();
        return QApplication::exec();
    }
    // As tarvel4410-config's main.
    std::setlocale(LC_NUMERIC, "");
    QLocale::setDefault(QLocale::system());
    QApplication::setOrganizationName(QStringLiteral("Tarvel 4410 Configuration Tool"));
    QApplication::setApplicationName(QString::fromUtf8("Конфигурация датчика Тарвел-4410"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/desktop/tarvel4410-config.svg")));
    return CVeskPcApp().Run({QStringLiteral("--demo")});
}

// ---- the parent: runs and figures -----------------------------------------------------

struct Run {
    Millis startUp;
    double peakMiB;
};

// The child's own messages go to this file, shown when a start-up fails.
std::filesystem::path ChildLog()
{
    return std::filesystem::path(std::getenv("XDG_RUNTIME_DIR")) / "child.log";
}

void ShowChildLog()
{
    std::FILE* log = std::fopen(ChildLog().c_str(), "r");
    if (log == nullptr) return;
    char line[512];
    while (std::fgets(line, sizeof line, log) != nullptr) std::fputs(line, stderr);
    std::fclose(log);
}

std::optional<Run> StartOnce(const std::string& kind)
{
    int out[2];
    if (pipe(out) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, ChildLog().c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string option = std::string(kChildOption) + "=" + kind;
    char* args[] = {const_cast<char*>(self.c_str()), option.data(), nullptr};

    const auto started = Clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return std::nullopt;
    }
    std::string output;
    char buffer[256];
    for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) != 0;) {
        if (got > 0)
            output.append(buffer, static_cast<std::size_t>(got));
        else if (errno != EINTR)
            break;
    }
    close(out[0]);
    int status = 0;
    rusage usage{};
    long long shownNs = 0;
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0 || std::sscanf(output.c_str(), "shown %lld", &shownNs) != 1) {
        std::fprintf(stderr, "bench_startup: the %s start-up failed:\n", kind.c_str());
        ShowChildLog();
        return std::nullopt;
    }
    const auto startedNs =
        std::chrono::duration_cast<std::chrono::nanoseconds>(started.time_since_epoch()).count();
    return Run{Millis(static_cast<double>(shownNs - startedNs) / 1e6),
               static_cast<double>(usage.ru_maxrss) / 1024.0};
}

struct Figures {
    Millis medianStartUp, fastest, slowest;
    double medianPeakMiB;
};

template <typename T>
T Median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The runs of one kind.
class Runs {
public:
    void add(const Run& run)
    {
        m_times.push_back(run.startUp);
        m_peaks.push_back(run.peakMiB);
    }
    Figures figures() const
    {
        return Figures{Median(m_times), *std::min_element(m_times.begin(), m_times.end()),
                       *std::max_element(m_times.begin(), m_times.end()), Median(m_peaks)};
    }

private:
    std::vector<Millis> m_times;
    std::vector<double> m_peaks;
};

// The kinds take turns, so that whatever else the machine does meanwhile weighs on both
// alike. One warm-up run each first: caches, and the first run's desktop files.
std::optional<std::pair<Figures, Figures>> Measure(int runs)
{
    if (!StartOnce("qt") || !StartOnce("program")) return std::nullopt;
    Runs qt, program;
    for (int i = 0; i < runs; ++i) {
        const auto qtRun = StartOnce("qt");
        const auto programRun = StartOnce("program");
        if (!qtRun || !programRun) return std::nullopt;
        qt.add(*qtRun);
        program.add(*programRun);
    }
    return std::pair{qt.figures(), program.figures()};
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strncmp(argv[1], kChildOption, std::strlen(kChildOption)) == 0) {
        const char* kind = std::strchr(argv[1], '=');
        return RunChild(argc, argv, kind != nullptr ? kind + 1 : "");
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;
    const PrivateFolder home;
    if (!UsePrivateHome(home)) {
        std::fprintf(stderr, "bench_startup: cannot create a private folder\n");
        return 1;
    }
    const auto measured = Measure(runs);
    if (!measured) return 1;
    const Figures* qt = &measured->first;
    const Figures* program = &measured->second;
    std::printf(
        "%d runs each, offscreen; start-up to the first main window shown, peak resident memory\n",
        runs);
    std::printf("Qt floor (one window):        median %7.1f ms (%.1f–%.1f), peak %6.1f MiB\n",
                qt->medianStartUp.count(), qt->fastest.count(), qt->slowest.count(),
                qt->medianPeakMiB);
    std::printf("tarvel4410-config --demo:     median %7.1f ms (%.1f–%.1f), peak %6.1f MiB\n",
                program->medianStartUp.count(), program->fastest.count(), program->slowest.count(),
                program->medianPeakMiB);
    std::printf("ratios to the Qt floor:       start-up %.2f, memory %.2f\n",
                program->medianStartUp / qt->medianStartUp,
                program->medianPeakMiB / qt->medianPeakMiB);
    std::printf(
        "bench_startup: %.0f ms to the main window, %.1f MiB peak (%.2fx and %.2fx the Qt floor)\n",
        program->medianStartUp.count(), program->medianPeakMiB,
        program->medianStartUp / qt->medianStartUp, program->medianPeakMiB / qt->medianPeakMiB);
    return 0;
}
