// The server against clients that misbehave, over raw sockets: hostile Hosts, bodies and headers
// each refused with a reason, pipelined requests answered in order, many viewers and slow
// clients while a probe still gets its answer, and the connection and viewer bounds. The device
// runs on the test's main thread, as in `serve`; the clients on another.
#include "ServedDeviceTest.h"

#include "device/DeviceImage.h"
#include "device/LocalTime.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <thread>

namespace sim::web {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// One client connection on raw bytes; every wait is bounded by a 10 s socket timeout.
class Raw {
  public:
    struct Answer {
        int status = 0; // 0: the connection ended (or went silent) first
        std::string head, body;
        std::string error() const {
            const json j = json::parse(body, nullptr, false);
            return j.is_object() && j.contains("error") && j["error"].is_string()
                       ? j["error"].get<std::string>()
                       : "";
        }
    };

    // `receiveBuffer`: a small one makes the server's answers back up while this client waits.
    explicit Raw(int port, int receiveBuffer = 0) {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        if (receiveBuffer > 0)
            ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        timeval wait{10, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(uint16_t(port));
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0;
    }
    ~Raw() { ::close(fd_); }
    Raw(const Raw&) = delete;

    bool connected() const { return connected_; }
    bool send(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            bytes.remove_prefix(size_t(n));
        }
        return true;
    }
    void finishSending() { ::shutdown(fd_, SHUT_WR); }

    // The next answer's head and (by its Content-Length) body.
    Answer read() {
        Answer a;
        size_t end;
        while ((end = buffer_.find("\r\n\r\n")) == std::string::npos)
            if (!fill())
                return a;
        a.head = buffer_.substr(0, end + 4);
        buffer_.erase(0, end + 4);
        if (a.head.rfind("HTTP/1.1 ", 0) != 0)
            return a;
        a.status = std::atoi(a.head.c_str() + 9);
        const size_t length = a.head.find("Content-Length: ");
        if (length == std::string::npos)
            return a;
        const size_t size = std::stoul(a.head.substr(length + 16));
        while (buffer_.size() < size)
            if (!fill())
                return a;
        a.body = buffer_.substr(0, size);
        buffer_.erase(0, size);
        return a;
    }
    // Reads until `text` has arrived (true) or the connection ends or goes silent (false).
    bool readUntil(const std::string& text) {
        while (buffer_.find(text) == std::string::npos)
            if (!fill())
                return false;
        return true;
    }
    // True when the server closes the connection with nothing more to say.
    bool closedByServer() {
        while (fill()) {
        }
        return ended_ && buffer_.empty();
    }

  private:
    bool fill() {
        char chunk[16384];
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n <= 0) {
            ended_ = n == 0;
            return false;
        }
        buffer_.append(chunk, size_t(n));
        return true;
    }
    int fd_ = -1;
    bool connected_ = false, ended_ = false;
    std::string buffer_;
};

class WebLimitsTest : public ServedDeviceTest {
  public:
    // Serves with `limits`, runs `client` on its own thread while this thread is the device's,
    // then stops the host and the server.
    void withClient(HttpLimits limits, const std::function<void()>& client) {
        server_ = std::make_unique<WebServer>(*host_, ServerOptions{"127.0.0.1", 0, limits});
        ASSERT_EQ(server_->bind(), "");
        server_->start();
        std::thread t([&] {
            client();
            host_->stop();
        });
        host_->run();
        t.join();
        server_->stop();
    }

    int port() const { return server_->port(); }
    std::string hostField() const { return "Host: 127.0.0.1:" + std::to_string(port()) + "\r\n"; }
    std::string get(const std::string& path, const std::string& more = "") const {
        return "GET " + path + " HTTP/1.1\r\n" + hostField() + more + "\r\n";
    }
    std::string post(const std::string& body, const std::string& more = "") const {
        return "POST /api/action HTTP/1.1\r\n" + hostField() +
               "Content-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" +
               more + "\r\n" + body;
    }
    // A request that must be answered: the server still serves.
    void probe() {
        Raw c(port());
        ASSERT_TRUE(c.connected());
        ASSERT_TRUE(c.send(get("/api/device")));
        Raw::Answer a = c.read();
        EXPECT_EQ(a.status, 200) << a.head;
        EXPECT_NE(a.body.find("\"width\""), std::string::npos) << a.body;
    }
};

struct Hostile {
    const char* name;
    std::function<std::string(const WebLimitsTest&)> request;
    int status;
    std::string message; // a part of the answer's "error"
    bool closes;         // the framing cannot be trusted: the server closes after answering
};

TEST_F(WebLimitsTest, HostileRequestsAreRefusedWithTheirReason) {
    auto withHost = [](std::string host) {
        return
            [host](const WebLimitsTest&) { return "GET /api/device HTTP/1.1\r\nHost: " + host + "\r\n\r\n"; };
    };
    const std::string locked = R"({"action":"lock","locked":true})";
    std::string chunks;
    for (int i = 0; i < 70; ++i)
        chunks += "400\r\n" + std::string(1024, ' ') + "\r\n";
    const std::vector<Hostile> cases{
        {"a user part after the port", withHost("localhost:80@evil"), 403, "answers only", false},
        {"a port that is no number", withHost("localhost:abc"), 403, "answers only", false},
        {"a name after an address", withHost("[::1]evil.com"), 403, "answers only", false},
        {"a name in brackets", withHost("[localhost]"), 403, "answers only", false},
        {"a foreign name", withHost("evil.example:8026"), 403, "answers only", false},
        {"a NUL, then a foreign name", withHost(std::string("localhost\0.evil.com", 19)), 400, "control byte",
         true},
        {"two Hosts, the good one first",
         [](const WebLimitsTest& t) { return t.get("/api/device", "Host: evil.com\r\n"); }, 400,
         "exactly one Host", true},
        {"no Host", [](const WebLimitsTest&) { return std::string("GET /api/device HTTP/1.1\r\n\r\n"); }, 400,
         "exactly one Host", true},
        {"two lengths", [&](const WebLimitsTest& t) { return t.post(locked, "Content-Length: 2\r\n"); }, 400,
         "one Content-Length", true},
        {"a length that is no number",
         [&](const WebLimitsTest& t) {
             return "POST /api/action HTTP/1.1\r\n" + t.hostField() +
                    "Content-Type: application/json\r\nContent-Length: abc\r\n\r\n" + locked;
         },
         400, "decimal number", true},
        {"an unknown encoding with a length",
         [&](const WebLimitsTest& t) { return t.post(locked, "Transfer-Encoding: gzip\r\n"); }, 400,
         "chunked", true},
        {"a chunked body over the limit",
         [&](const WebLimitsTest& t) {
             return "POST /api/action HTTP/1.1\r\n" + t.hostField() +
                    "Content-Type: application/json\r\nTransfer-Encoding: chunked\r\n\r\n" + chunks +
                    "0\r\n\r\n";
         },
         413, "larger than 64 KiB", true},
        {"a length over the limit", [&](const WebLimitsTest& t) { return t.post(std::string(70000, ' ')); },
         413, "larger than 64 KiB", true},
        {"an empty Origin", [&](const WebLimitsTest& t) { return t.post(locked, "Origin:\r\n"); }, 403,
         "empty Origin", false},
        {"a foreign Origin",
         [&](const WebLimitsTest& t) { return t.post(locked, "Origin: http://evil.example\r\n"); }, 403,
         "only from the page", false},
        {"bare line feeds",
         [](const WebLimitsTest&) { return std::string("GET /api/device HTTP/1.1\nHost: localhost\n\n"); },
         400, "CR LF", true},
        {"a huge head",
         [](const WebLimitsTest& t) {
             return t.get("/api/device", "X-Pad: " + std::string(20000, 'a') + "\r\n");
         },
         431, "head is larger", true},
        {"a folded line",
         [](const WebLimitsTest& t) { return t.get("/api/device", "X-A: 1\r\n  folded\r\n"); }, 400, "folded",
         true},
        {"an expectation", [&](const WebLimitsTest& t) { return t.post(locked, "Expect: 200-ok\r\n"); }, 417,
         "100-continue", true},
        {"a wrong method",
         [](const WebLimitsTest& t) { return "DELETE /api/action HTTP/1.1\r\n" + t.hostField() + "\r\n"; },
         405, "POST", false},
        {"an absolute target",
         [](const WebLimitsTest& t) {
             return "GET http://evil.example/ HTTP/1.1\r\n" + t.hostField() + "\r\n";
         },
         400, "path", true},
    };
    withClient({}, [&] {
        for (const Hostile& h : cases) {
            SCOPED_TRACE(h.name);
            Raw c(port());
            ASSERT_TRUE(c.connected());
            c.send(h.request(*this));
            Raw::Answer a = c.read();
            EXPECT_EQ(a.status, h.status) << a.head << a.body;
            EXPECT_NE(a.error().find(h.message), std::string::npos) << a.body;
            if (h.closes) {
                EXPECT_TRUE(c.closedByServer());
            } else {
                // The request was read whole: the connection serves the next one.
                ASSERT_TRUE(c.send(get("/api/device")));
                EXPECT_EQ(c.read().status, 200);
            }
        }
        // None of it reached the device, and it still answers.
        Raw c(port());
        c.send(get("/api/inspect/springboard"));
        Raw::Answer a = c.read();
        ASSERT_EQ(a.status, 200);
        EXPECT_EQ(json::parse(a.body)["springboard"]["locked"], false);
    });
}

TEST_F(WebLimitsTest, PipelinedRequestsAreAllAnsweredInOrder) {
    withClient({}, [&] {
        const std::string chunked = "POST /api/action HTTP/1.1\r\n" + hostField() +
                                    "Content-Type: application/json\r\nTransfer-Encoding: chunked\r\n\r\n"
                                    "11\r\n{\"action\":\"lock\",\r\n"
                                    "e\r\n\"locked\":true}\r\n"
                                    "0\r\n\r\n";
        Raw c(port());
        ASSERT_TRUE(c.send(get("/api/device") + chunked + get("/api/inspect/springboard") + get("/nowhere") +
                           get("/api/device", "Connection: close\r\n")));
        c.finishSending(); // a client may be done sending before it reads: it still gets every answer
        Raw::Answer device = c.read(), action = c.read(), board = c.read(), missing = c.read(),
                    last = c.read();
        EXPECT_EQ(device.status, 200);
        EXPECT_NE(device.body.find("\"width\""), std::string::npos);
        EXPECT_EQ(action.status, 200) << action.body;
        ASSERT_EQ(board.status, 200);
        EXPECT_EQ(json::parse(board.body)["springboard"]["locked"], true)
            << "the chunked action came before the inspection";
        EXPECT_EQ(missing.status, 404);
        EXPECT_EQ(last.status, 200);
        EXPECT_TRUE(c.closedByServer());

        // A refused request in a pipeline: what came before it is answered, then the refusal.
        Raw d(port());
        ASSERT_TRUE(d.send(get("/api/device") + "GET /api/device HTTP/1.1\r\nHost: a\r\nHost: b\r\n\r\n" +
                           get("/api/device")));
        EXPECT_EQ(d.read().status, 200);
        EXPECT_EQ(d.read().status, 400);
        EXPECT_TRUE(d.closedByServer());

        // More answers than the server holds for one client at a time, asked for before the
        // client closes its side and read only later: each is still sent.
        Raw e(port(), 4096);
        std::string many;
        for (int i = 0; i < 600; ++i)
            many += get("/app.js");
        ASSERT_TRUE(e.send(many));
        e.finishSending();
        std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the answers back up meanwhile
        int answered = 0;
        while (answered < 600 && e.read().status == 200)
            ++answered;
        EXPECT_EQ(answered, 600);
        EXPECT_TRUE(e.closedByServer());
    });
}

TEST_F(WebLimitsTest, AClientThatExpectsContinueIsAskedForItsBody) {
    withClient({}, [&] {
        const std::string body = R"({"action":"lock","locked":true})";
        Raw c(port());
        std::string request = post(body, "Expect: 100-continue\r\n");
        ASSERT_TRUE(c.send(request.substr(0, request.size() - body.size())));
        Raw::Answer go = c.read();
        EXPECT_EQ(go.head, "HTTP/1.1 100 Continue\r\n\r\n");
        ASSERT_TRUE(c.send(body));
        EXPECT_EQ(c.read().status, 200);
    });
}

TEST_F(WebLimitsTest, ThirtyViewersLeaveTheServerFreeForOthers) {
    withClient({}, [&] {
        std::vector<std::unique_ptr<Raw>> viewers;
        for (int i = 0; i < 30; ++i) {
            viewers.push_back(std::make_unique<Raw>(port()));
            ASSERT_TRUE(viewers.back()->send(get("/api/events")));
            ASSERT_TRUE(viewers.back()->readUntil("event: screen")) << "viewer " << i;
        }
        probe();
        Raw action(port());
        ASSERT_TRUE(action.send(post(R"({"action":"lock","locked":true})")));
        EXPECT_EQ(action.read().status, 200);
        for (auto& v : viewers)
            EXPECT_TRUE(v->readUntil("\"locked\":true")) << "every viewer sees the change";
    });
}

TEST_F(WebLimitsTest, ViewersBeyondTheBoundAreRefused) {
    HttpLimits limits;
    limits.viewers = 2;
    withClient(limits, [&] {
        auto first = std::make_unique<Raw>(port());
        Raw second(port());
        for (Raw* v : {first.get(), &second}) {
            ASSERT_TRUE(v->send(get("/api/events")));
            ASSERT_TRUE(v->readUntil("retry:"));
        }
        Raw third(port());
        ASSERT_TRUE(third.send(get("/api/events")));
        Raw::Answer a = third.read();
        EXPECT_EQ(a.status, 503);
        EXPECT_NE(a.error().find("2 viewers"), std::string::npos) << a.body;
        probe();
        // Once a viewer leaves, another may come (the server notices the leaving on its next turn).
        first.reset();
        bool admitted = false;
        for (int attempt = 0; attempt < 100 && !admitted; ++attempt) {
            Raw next(port());
            next.send(get("/api/events"));
            admitted = next.read().status == 200;
            if (!admitted)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        EXPECT_TRUE(admitted);
    });
}

TEST_F(WebLimitsTest, SlowClientsHoldNothingAndAreCutOff) {
    HttpLimits limits;
    limits.request = std::chrono::milliseconds(1000);
    withClient(limits, [&] {
        std::vector<std::unique_ptr<Raw>> slow;
        const std::string request = get("/api/device");
        for (int i = 0; i < 40; ++i)
            slow.push_back(std::make_unique<Raw>(port()));
        // A byte each, every 20 ms, for a fraction of the request.
        for (size_t byte = 0; byte < 10; ++byte) {
            for (auto& s : slow)
                ASSERT_TRUE(s->send(request.substr(byte, 1)));
            if (byte == 5)
                probe();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        // None finishes its request in time: each is told so, and closed.
        for (auto& s : slow) {
            Raw::Answer a = s->read();
            ASSERT_EQ(a.status, 408) << a.head;
            EXPECT_NE(a.error().find("did not arrive whole"), std::string::npos) << a.body;
            EXPECT_TRUE(s->closedByServer());
        }
        probe();
    });
}

TEST_F(WebLimitsTest, ConnectionsBeyondTheBoundAreRefused) {
    HttpLimits limits;
    limits.connections = 8;
    withClient(limits, [&] {
        std::vector<std::unique_ptr<Raw>> held;
        for (int i = 0; i < 8; ++i) {
            held.push_back(std::make_unique<Raw>(port()));
            // Each is served, so each is counted before the next arrives.
            ASSERT_TRUE(held.back()->send(get("/api/device")));
            ASSERT_EQ(held.back()->read().status, 200);
        }
        Raw extra(port());
        extra.send(get("/api/device"));
        Raw::Answer a = extra.read();
        EXPECT_EQ(a.status, 503);
        EXPECT_NE(a.error().find("8 connections open"), std::string::npos) << a.body;
        EXPECT_TRUE(extra.closedByServer());
        held.pop_back();
        bool served = false;
        for (int attempt = 0; attempt < 100 && !served; ++attempt) {
            Raw next(port());
            next.send(get("/api/device"));
            served = next.read().status == 200;
            if (!served)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        EXPECT_TRUE(served);
    });
}

} // namespace
} // namespace sim::web
