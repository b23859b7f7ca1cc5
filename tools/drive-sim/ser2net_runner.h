// ser2net in front of a virtual drive's pseudo-terminal, for tests and
// benchmarks: a config of its own in a scratch folder, a free loopback port,
// started and stopped by the owner.
#pragma once

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace kolt::sim {

inline constexpr const char* kSer2netPath = "/usr/sbin/ser2net";

inline bool Ser2netInstalled() { return ::access(kSer2netPath, X_OK) == 0; }

// A loopback port nobody listens on right now.
inline int FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

class Ser2net {
public:
    enum class Mode { Raw, Rfc2217 };
    ~Ser2net() { Stop(); }

    // Serves `device` (38400 8N1 until a client says otherwise); chardelay off
    // sends each byte as it comes, on keeps ser2net's default packing. Returns
    // the URL to open ("" when it did not come up within 5 s).
    std::string Start(const std::string& device, Mode mode, bool chardelay) {
        char tmpl[] = "/tmp/kolt-ser2net-XXXXXX";
        if (!::mkdtemp(tmpl)) return {};
        dir_ = tmpl;
        const int port = FreeLoopbackPort();
        const std::string yaml = dir_ + "/ser2net.yaml";
        std::ofstream(yaml) << "connection: &drive\n  accepter: " << (mode == Mode::Rfc2217 ? "telnet(rfc2217)," : "")
                            << "tcp,127.0.0.1," << port << "\n  connector: serialdev," << device
                            << ",38400n81,local\n  options:\n    kickolduser: true\n"
                            << (chardelay ? "" : "    chardelay: false\n");
        std::vector<std::string> args{kSer2netPath, "-n", "-u", "-c", yaml, "-P", dir_ + "/pid"};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        // Its chatter goes to a log beside the config.
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, (dir_ + "/log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&files, 1, 2);
        const int spawned = ::posix_spawn(&pid_, kSer2netPath, &files, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&files);
        if (spawned != 0) return {};
        // Up when it accepts a connection.
        for (int i = 0; i < 500; ++i) {
            const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in a{};
            a.sin_family = AF_INET;
            a.sin_port = htons(static_cast<std::uint16_t>(port));
            a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            const bool up = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
            ::close(fd);
            if (up) return std::string(mode == Mode::Rfc2217 ? "rfc2217" : "tcp") + "://127.0.0.1:" + std::to_string(port);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return {};
    }

    void Stop() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
            pid_ = 0;
        }
        if (!dir_.empty()) {
            std::remove((dir_ + "/ser2net.yaml").c_str());
            std::remove((dir_ + "/pid").c_str());
            std::remove((dir_ + "/log").c_str());
            ::rmdir(dir_.c_str());
            dir_.clear();
        }
    }

private:
    pid_t pid_ = 0;
    std::string dir_;
};

}  // namespace kolt::sim
