// The simulator as processes meet it: one process at a time on a device root (the second one is
// turned away, naming the holder, and a respring does not turn the holder away from itself), and a
// run stopped by a signal removes its temporary root; `serve` alone starts a device ready to use. A run is
// held at a step that writes its snapshot into a FIFO: the write waits until the test opens the FIFO, or
// until a signal ends it.
#include "device/LocalTime.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#ifndef HM_SIM
#error "HM_SIM must name the hushmark-sim program"
#endif

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void spit(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

bool eventually(const std::function<bool()>& holds, std::chrono::seconds limit = 60s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!holds()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// A simulator started by the test, its output in files; killed if the test leaves it running.
class Sim {
  public:
    Sim(const std::vector<std::string>& words, const fs::path& folder,
        const std::map<std::string, std::string>& env = {})
        : out_(folder / ("out-" + std::to_string(++count_))),
          err_(folder / ("err-" + std::to_string(count_))) {
        std::vector<std::string> argv{HM_SIM};
        argv.insert(argv.end(), words.begin(), words.end());
        std::vector<char*> args;
        for (auto& w : argv)
            args.push_back(w.data());
        args.push_back(nullptr);
        std::vector<std::string> vars;
        for (char** e = environ; *e; ++e) {
            const std::string var = *e;
            if (!env.count(var.substr(0, var.find('='))))
                vars.push_back(var);
        }
        for (const auto& [name, value] : env)
            vars.push_back(name + "=" + value);
        std::vector<char*> envp;
        for (auto& v : vars)
            envp.push_back(v.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&files, 1, out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&files, 2, err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (posix_spawn(&pid_, argv[0].c_str(), &files, nullptr, args.data(), envp.data()) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&files);
    }
    ~Sim() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    pid_t pid() const { return pid_; }
    std::string out() const { return slurp(out_); }
    std::string err() const { return slurp(err_); }
    std::string commandLine() const { return slurp("/proc/" + std::to_string(pid_) + "/cmdline"); }

    // Its exit status; -1 when it did not exit in time (it is killed then) or was killed.
    int finish(std::chrono::seconds limit = 60s) {
        int status = 0;
        const bool exited = eventually([&] { return ::waitpid(pid_, &status, WNOHANG) == pid_; }, limit);
        if (!exited)
            return -1; // the destructor kills it
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    static inline int count_ = 0;
    fs::path out_, err_;
    pid_t pid_ = -1;
};

class ProcessTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "hm-sim-process-XXXXXX").string();
        ASSERT_TRUE(::mkdtemp(pattern.data()));
        folder_ = pattern;
        root_ = folder_ / "root";
        shots_ = folder_ / "shots";
        temporary_ = folder_ / "tmp";
        fs::create_directories(shots_);
        fs::create_directories(temporary_);
        ASSERT_EQ(::mkfifo((shots_ / "held.png").c_str(), 0644), 0);
        spit(folder_ / "short.scn", "boot\nexpect icon hidden\n");
        spit(folder_ / "held.scn", "boot\nsnapshot screen held.png\n");
        spit(folder_ / "respring-held.scn", "boot\nrespring\nsnapshot screen held.png\n");
        Sim init({"init", root_.string()}, folder_);
        ASSERT_EQ(init.finish(), 0) << init.err();
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }

    // Lets a run held at the FIFO write its snapshot, reading it to the end.
    void releaseHeldStep() {
        int fd = ::open((shots_ / "held.png").c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        char buffer[65536];
        while (::read(fd, buffer, sizeof buffer) > 0) {
        }
        ::close(fd);
    }

    // The temporary roots laid out in the test's temporary folder (TMPDIR of the runs started
    // with temporaryEnv) and locked by their run.
    std::vector<fs::path> lockedTemporaryRoots() const {
        std::vector<fs::path> roots;
        for (const auto& e : fs::directory_iterator(temporary_))
            if (fs::exists(e.path() / ".hushmark-sim-lock"))
                roots.push_back(e.path());
        return roots;
    }
    std::map<std::string, std::string> temporaryEnv() const { return {{"TMPDIR", temporary_.string()}}; }

    fs::path folder_, root_, shots_, temporary_;
};

std::string holderMessage(const fs::path& root, pid_t pid) {
    return "the device root " + root.string() + " is in use by process " + std::to_string(pid) + " (";
}

TEST_F(ProcessTest, ASecondProcessOnAHeldRootIsTurnedAwayNamingTheHolder) {
    Sim server({"serve", "--root", root_.string(), "--port", "0", "--host", "127.0.0.1"}, folder_);
    ASSERT_TRUE(eventually([&] { return server.out().find("Hushmark's device is at") != std::string::npos; }))
        << server.err();
    const std::vector<std::vector<std::string>> second = {
        {"run", (folder_ / "short.scn").string(), "--root", root_.string()},
        {"serve", "--root", root_.string(), "--port", "0", "--host", "127.0.0.1"},
        {"inspect", "settings", "--root", root_.string()},
    };
    for (const auto& words : second) {
        SCOPED_TRACE(words[0]);
        Sim refused(words, folder_);
        EXPECT_EQ(refused.finish(), 1);
        const std::string err = refused.err();
        EXPECT_NE(err.find(holderMessage(root_, server.pid())), std::string::npos) << err;
        EXPECT_NE(err.find("hushmark-sim serve --root " + root_.string()), std::string::npos) << err;
        EXPECT_EQ(refused.out().find("Hushmark's device is at"), std::string::npos);
    }
    ASSERT_EQ(::kill(server.pid(), SIGTERM), 0);
    EXPECT_EQ(server.finish(), 0) << server.err();
    // Its lock ended with it.
    Sim after({"run", (folder_ / "short.scn").string(), "--root", root_.string()}, folder_);
    EXPECT_EQ(after.finish(), 0) << after.err();
}

// `serve` with no device options is ready at first sight: the phone on its home screen,
// libstatusbar installed (the icon row is on offer), the zone is the host's own, and the clock runs at 1x
// from the host's present.
TEST_F(ProcessTest, AServeWithNoOptionsIsReadyAtFirstSight) {
    auto env = temporaryEnv();
    env["TZ"] = "Asia/Tokyo"; // nine hours from UTC, so a device on UTC cannot pass
    Sim server({"serve", "--port", "0", "--host", "127.0.0.1"}, folder_, env);
    std::string url;
    ASSERT_TRUE(eventually([&] {
        const std::string out = server.out();
        const size_t at = out.find("http://127.0.0.1:");
        if (at == std::string::npos)
            return false;
        url = out.substr(at, out.find('/', at + 7) - at);
        return true;
    })) << server.err();
    httplib::Client client(url);
    auto get = [&](const std::string& path) {
        auto r = client.Get(path);
        return r && r->status == 200 ? nlohmann::json::parse(r->body) : nlohmann::json();
    };
    // The phone starts on its home screen; Settings opens from its icon, then Hushmark's row.
    EXPECT_EQ(get("/api/inspect/phone")["phone"]["front"], "home") << server.err();
    auto act = [&](const nlohmann::json& action) {
        auto r = client.Post("/api/action", action.dump(), "application/json");
        return r ? r->status : 0;
    };
    ASSERT_EQ(act({{"action", "open"}, {"app", "Settings"}}), 200);
    double hushmarkY = -1;
    const nlohmann::json phone = get("/api/inspect/phone");
    for (const auto& row : phone["settings"]["rows"])
        if (row["label"] == "Hushmark")
            hushmarkY = row["frame"]["y"].get<double>() + 22;
    ASSERT_GT(hushmarkY, 0) << phone.dump();
    ASSERT_EQ(act({{"action", "tap"}, {"screen", "phone"}, {"x", 100}, {"y", hushmarkY}}), 200);
    const nlohmann::json settings = get("/api/inspect/settings");
    ASSERT_TRUE(settings.contains("settings")) << server.err();
    bool iconRowEnabled = false;
    for (const auto& row : settings["settings"]["rows"])
        if (row["label"] == "Status Bar Icon")
            iconRowEnabled = row["enabled"].get<bool>();
    EXPECT_TRUE(iconRowEnabled) << settings["settings"]["rows"].dump();

    // The device's local time is the host's in Tokyo, within the time this test takes.
    const double unixNow =
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    const std::string first = get("/api/inspect/springboard").value("time", "");
    const auto shown = sim::dateFromLocal(first, "Asia/Tokyo");
    ASSERT_TRUE(shown) << first;
    EXPECT_NEAR(shown->timeIntervalSince1970(), unixNow, 120) << first;
    // And it runs by itself.
    EXPECT_TRUE(eventually([&] { return get("/api/inspect/springboard").value("time", "") != first; }));
    ASSERT_EQ(::kill(server.pid(), SIGTERM), 0);
    EXPECT_EQ(server.finish(), 0) << server.err();
}

TEST_F(ProcessTest, TheLockPassesThroughARespring) {
    Sim held({"run", (folder_ / "respring-held.scn").string(), "--root", root_.string(), "--snapshots",
              shots_.string()},
             folder_);
    // Past the respring: the program has replaced itself, with --resume.
    ASSERT_TRUE(eventually([&] { return held.commandLine().find("--resume") != std::string::npos; }))
        << held.err();
    Sim refused({"run", (folder_ / "short.scn").string(), "--root", root_.string()}, folder_);
    EXPECT_EQ(refused.finish(), 1);
    EXPECT_NE(refused.err().find(holderMessage(root_, held.pid())), std::string::npos) << refused.err();
    releaseHeldStep();
    EXPECT_EQ(held.finish(), 0) << held.err();
    EXPECT_NE(held.out().find("snapshot  held.png"), std::string::npos) << held.out();
}

// Each signal and scenario is a case of its own: a case's runs take seconds under the sanitizers,
// and as cases they run side by side.
struct StoppedRun {
    int signal;
    const char* scenario;
};

class StoppedRunTest : public ProcessTest, public testing::WithParamInterface<StoppedRun> {};

TEST_P(StoppedRunTest, AStoppedRunRemovesItsTemporaryRoot) {
    const StoppedRun& c = GetParam();
    Sim run({"run", (folder_ / c.scenario).string(), "--snapshots", shots_.string()}, folder_,
            temporaryEnv());
    ASSERT_TRUE(eventually([&] { return lockedTemporaryRoots().size() == 1; })) << run.err();
    if (std::string(c.scenario).find("respring") != std::string::npos) {
        ASSERT_TRUE(eventually([&] { return run.commandLine().find("--resume") != std::string::npos; }));
    }
    std::this_thread::sleep_for(100ms); // most likely waiting at the FIFO by now
    ASSERT_EQ(::kill(run.pid(), c.signal), 0);
    EXPECT_EQ(run.finish(), 128 + c.signal) << run.err();
    EXPECT_NE(run.err().find("stopped by a signal"), std::string::npos) << run.err();
    EXPECT_TRUE(fs::is_empty(temporary_)) << "the temporary root is left behind";
}

INSTANTIATE_TEST_SUITE_P(Signals, StoppedRunTest,
                         testing::Values(StoppedRun{SIGTERM, "held.scn"}, StoppedRun{SIGINT, "held.scn"},
                                         StoppedRun{SIGHUP, "held.scn"},
                                         StoppedRun{SIGTERM, "respring-held.scn"},
                                         StoppedRun{SIGHUP, "respring-held.scn"}),
                         [](const testing::TestParamInfo<StoppedRun>& info) {
                             return std::string(sigabbrev_np(info.param.signal)) +
                                    (std::string(info.param.scenario).find("respring") != std::string::npos
                                         ? "AfterARespring"
                                         : "");
                         });

} // namespace
