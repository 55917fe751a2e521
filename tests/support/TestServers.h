#pragma once
// Real servers on 127.0.0.1 for the tests of the online library: a test CA and certificates made
// with openssl, a Python HTTPS server that logs every request, and tinyproxy with Basic
// authentication. Each server is a child process stopped by its PID when its object goes.
#include <arpa/inet.h>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <netinet/in.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "support/TempFiles.h"

extern char** environ;

namespace testservers {

inline int FreePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(s);
    return ntohs(a.sin_port);
}

inline bool PortAnswers(int port) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(s);
    return ok;
}

inline void Run(const std::string& command) {
    if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

// A child process, killed and reaped with the object.
class TChild {
public:
    TChild(const std::vector<std::string>& argv, int port) {
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        if (::posix_spawnp(&fPid, args[0], nullptr, nullptr, args.data(), environ) != 0)
            throw std::runtime_error("cannot start " + argv[0]);
        for (int i = 0; i < 200 && !PortAnswers(port); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        if (!PortAnswers(port)) throw std::runtime_error(argv[0] + " does not listen");
    }
    ~TChild() {
        ::kill(fPid, SIGKILL);
        int status = 0;
        ::waitpid(fPid, &status, 0);
    }
    TChild(const TChild&) = delete;
    TChild& operator=(const TChild&) = delete;

private:
    pid_t fPid = -1;
};

// A test CA with a server certificate for 127.0.0.1 and localhost, and an unrelated CA with its own.
struct TCertificates {
    TTempDir Dir;
    std::string Ca, Cert, Key, OtherCert, OtherKey;
    TCertificates() {
        const std::string d = Dir.Path().string();
        const auto make = [&](const std::string& name, std::string& cert, std::string& key) {
            const std::string ca = d + "/" + name + "-ca";
            Run("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=" + name + "-test-ca -keyout " +
                ca + ".key -out " + ca + ".pem 2>/dev/null");
            Run("printf 'subjectAltName=IP:127.0.0.1,DNS:localhost\\n' > " + d + "/san.ext");
            key = d + "/" + name + "-server.key";
            cert = d + "/" + name + "-server.pem";
            Run("openssl req -newkey rsa:2048 -nodes -subj /CN=127.0.0.1 -keyout " + key + " -out " + d +
                "/server.csr 2>/dev/null");
            Run("openssl x509 -req -in " + d + "/server.csr -CA " + ca + ".pem -CAkey " + ca +
                ".key -CAcreateserial -days 2 -extfile " + d + "/san.ext -out " + cert + " 2>/dev/null");
            return ca + ".pem";
        };
        Ca = make("test", Cert, Key);
        make("other", OtherCert, OtherKey);
    }
};

// The Python HTTPS server (see servers/https_server.py); Log() is what it received.
class THttpsServer {
public:
    THttpsServer(const std::string& cert, const std::string& key, bool silent = false)
        : Port(FreePort()), fLog(fDir.File("requests.log")) {
        std::ofstream(fLog).flush();
        fChild = std::make_unique<TChild>(
            std::vector<std::string>{"python3", KORVANE_TEST_SERVERS "/https_server.py", std::to_string(Port),
                                     silent ? "-" : cert, silent ? "-" : key, fLog,
                                     silent ? "silent" : "https://localhost:" + std::to_string(Port) + "/"},
            Port);
    }
    std::string URL() const { return "https://127.0.0.1:" + std::to_string(Port) + "/"; }
    std::string Log() const {
        std::ifstream in(fLog);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    const int Port;

private:
    TTempDir fDir;
    std::string fLog;
    std::unique_ptr<TChild> fChild;
};

// tinyproxy on 127.0.0.1 with Basic authentication User:Password.
class TTinyProxy {
public:
    TTinyProxy(const std::string& user, const std::string& password) : Port(FreePort()) {
        const std::string conf = fDir.File("tinyproxy.conf");
        std::ofstream(conf) << "Port " << Port << "\nListen 127.0.0.1\nTimeout 30\nMaxClients 20\n"
                            << "LogLevel Critical\nLogFile \"" << fDir.File("tinyproxy.log") << "\"\n"
                            << "BasicAuth " << user << " " << password << "\n"
                            << (::geteuid() == 0 ? "User root\nGroup root\n" : "");
        fChild = std::make_unique<TChild>(std::vector<std::string>{"tinyproxy", "-d", "-c", conf}, Port);
    }
    const int Port;

private:
    TTempDir fDir;
    std::unique_ptr<TChild> fChild;
};

} // namespace testservers
