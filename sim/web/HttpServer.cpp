#include "HttpServer.h"

#include "HttpChecks.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace sim::web {
namespace {
using Clock = std::chrono::steady_clock;
constexpr size_t kReadChunk = 16 * 1024;
constexpr size_t kOutputHeld = 1024 * 1024;       // past this, a connection's next answers wait
constexpr auto kLinger = std::chrono::seconds(2); // reading what a refused client still sends
constexpr size_t kLingerBytes = 1024 * 1024;
constexpr size_t kOverflow = 64; // refusals in flight beyond the connection bound

} // namespace

// One client's connection, on the I/O thread.
struct HttpConnection {
    enum class Phase { Reading, Working, Streaming, Lingering } phase = Phase::Reading;
    int fd = -1;
    std::string in, out;
    size_t outSent = 0;
    http::RequestParser parser;
    bool continueSent = false;
    bool closeAfterWrite = false;
    bool overflow = false; // accepted beyond the bound, only to be refused
    bool keepAlive = true; // of the request a worker has
    bool dead = false;
    bool peerClosed = false; // the client sent its last byte; what it asked is still answered
    std::optional<Clock::time_point> requestStart;
    Clock::time_point lastActivity, lastWrite, lastEvent, lingerUntil;
    size_t lingered = 0;
    std::unique_ptr<EventStream> stream;

    size_t pending() const { return out.size() - outSent; }
};

struct HttpServer::Loop {
    std::string host;
    HttpLimits limits;
    Router router;
    int listener = -1;
    int wakeFd = -1;
    std::atomic<bool> stopping{false};

    std::unordered_map<uint64_t, std::unique_ptr<HttpConnection>> conns;
    uint64_t nextId = 1;
    size_t viewers = 0, overflowing = 0;

    // Work for the workers, and their answers for the I/O thread.
    struct Job {
        uint64_t conn;
        std::function<Response()> work;
    };
    struct Done {
        uint64_t conn;
        Response response;
    };
    std::mutex mutex;
    std::condition_variable jobReady;
    std::deque<Job> jobs;
    std::deque<Done> done;
    bool workersStop = false;
    std::vector<std::thread> workers;

    Loop(std::string h, HttpLimits l, Router r) : host(std::move(h)), limits(l), router(std::move(r)) {
        wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    }
    ~Loop() {
        for (auto& [id, c] : conns)
            ::close(c->fd);
        if (listener >= 0)
            ::close(listener);
        if (wakeFd >= 0)
            ::close(wakeFd);
    }

    void wake() {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(wakeFd, &one, sizeof one);
    }

    void workerLoop() {
        for (;;) {
            Job job;
            {
                std::unique_lock lock(mutex);
                jobReady.wait(lock, [&] { return workersStop || !jobs.empty(); });
                if (workersStop)
                    return;
                job = std::move(jobs.front());
                jobs.pop_front();
            }
            Response response = job.work();
            {
                std::lock_guard lock(mutex);
                done.push_back({job.conn, std::move(response)});
            }
            wake();
        }
    }

    void run();
    void accept(Clock::time_point now);
    void read(HttpConnection& c, Clock::time_point now);
    void write(HttpConnection& c, Clock::time_point now);
    void process(uint64_t id, HttpConnection& c, Clock::time_point now);
    void answer(HttpConnection& c, const Response& r, bool close, Clock::time_point now);
    void pollStream(HttpConnection& c, Clock::time_point now);
    void expire(HttpConnection& c, Clock::time_point now);
    void close(HttpConnection& c) {
        if (c.phase == HttpConnection::Phase::Streaming)
            --viewers;
        if (c.overflow)
            --overflowing;
        c.dead = true;
    }
};

void HttpServer::Loop::answer(HttpConnection& c, const Response& r, bool close, Clock::time_point now) {
    c.out += serializeResponse(r, close);
    if (close)
        c.closeAfterWrite = true;
    write(c, now);
}

// Reads requests from the buffer while the connection may take one: in order, one at a time.
void HttpServer::Loop::process(uint64_t id, HttpConnection& c, Clock::time_point now) {
    while (!c.dead && c.phase == HttpConnection::Phase::Reading && !c.closeAfterWrite &&
           c.pending() < kOutputHeld) {
        const auto state = c.parser.parse(c.in);
        if (state == http::RequestParser::State::NeedMore) {
            if (c.peerClosed) {
                c.closeAfterWrite = true; // no more will come
                return write(c, now);
            }
            if (c.parser.started() && !c.requestStart)
                c.requestStart = now;
            if (c.parser.wantsContinue() && !c.continueSent) {
                c.continueSent = true;
                c.out += "HTTP/1.1 100 Continue\r\n\r\n";
                write(c, now);
            }
            return;
        }
        if (state == http::RequestParser::State::Refused) {
            // The framing is unknown past a refused head: answer, then close.
            answer(c, errorResponse(c.parser.refusal().status, c.parser.refusal().message), true, now);
            return;
        }
        http::Request request = std::move(c.parser.request());
        c.in.erase(0, c.parser.consumed());
        c.parser.reset();
        c.continueSent = false;
        c.requestStart.reset();
        const bool close = !request.keepAlive;
        if (auto refusal = http::checkRequest(request, host)) {
            answer(c, errorResponse(refusal->status, refusal->message), close, now);
            continue;
        }
        Routed routed = router(request);
        if (routed.kind == Routed::Kind::Answer) {
            answer(c, routed.answer, close, now);
        } else if (routed.kind == Routed::Kind::Work) {
            c.phase = HttpConnection::Phase::Working;
            c.keepAlive = !close;
            {
                std::lock_guard lock(mutex);
                jobs.push_back({id, std::move(routed.work)});
            }
            jobReady.notify_one();
        } else if (viewers >= limits.viewers) {
            answer(c,
                   errorResponse(503, std::to_string(limits.viewers) +
                                          " viewers are watching already, the most this server serves; try "
                                          "again when one leaves"),
                   close, now);
        } else {
            ++viewers;
            c.phase = HttpConnection::Phase::Streaming;
            c.stream = std::move(routed.stream);
            c.in.clear();
            c.out += eventStreamHead();
            write(c, now);
            if (!c.dead)
                pollStream(c, now);
        }
    }
}

void HttpServer::Loop::pollStream(HttpConnection& c, Clock::time_point now) {
    if (c.closeAfterWrite || c.pending() > 0)
        return; // a slow viewer gets what is newest once it has taken the rest
    bool ended = false;
    std::string text = c.stream->poll(ended);
    if (!text.empty())
        c.lastEvent = now;
    c.out += text;
    if (ended)
        c.closeAfterWrite = true;
    write(c, now);
}

void HttpServer::Loop::write(HttpConnection& c, Clock::time_point now) {
    while (!c.dead && c.pending() > 0) {
        const ssize_t n = ::send(c.fd, c.out.data() + c.outSent, c.pending(), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                return;
            if (errno == EINTR)
                continue;
            return close(c);
        }
        c.outSent += size_t(n);
        c.lastWrite = now;
    }
    if (c.dead)
        return;
    c.out.clear();
    c.outSent = 0;
    if (c.closeAfterWrite && c.phase != HttpConnection::Phase::Lingering) {
        // Half-close, then read what the client still sends for a moment: closing with unread
        // bytes would reset the connection and could lose the answer on its way. A client that
        // has closed its side already has nothing more to send.
        if (c.peerClosed)
            return close(c);
        if (c.phase == HttpConnection::Phase::Streaming)
            --viewers;
        c.phase = HttpConnection::Phase::Lingering;
        c.stream.reset();
        ::shutdown(c.fd, SHUT_WR);
        c.lingerUntil = now + kLinger;
    }
    if (c.phase == HttpConnection::Phase::Reading)
        c.lastActivity = now;
}

void HttpServer::Loop::read(HttpConnection& c, Clock::time_point now) {
    char buffer[kReadChunk];
    for (;;) {
        const ssize_t n = ::recv(c.fd, buffer, sizeof buffer, 0);
        if (n == 0) {
            if (c.phase == HttpConnection::Phase::Streaming || c.phase == HttpConnection::Phase::Lingering)
                return close(c);
            c.peerClosed = true;
            return;
        }
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK)
                close(c);
            return;
        }
        if (c.phase == HttpConnection::Phase::Lingering) {
            c.lingered += size_t(n);
            if (c.lingered > kLingerBytes)
                return close(c);
            continue;
        }
        if (c.phase == HttpConnection::Phase::Streaming)
            continue; // a viewer has nothing more to say
        c.in.append(buffer, size_t(n));
        c.lastActivity = now;
        return; // one chunk a turn: the buffer stays bounded by what the parser allows
    }
}

void HttpServer::Loop::accept(Clock::time_point now) {
    for (;;) {
        const int fd = ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        const size_t open = conns.size() - overflowing;
        if (open >= limits.connections && overflowing >= kOverflow) {
            ::close(fd);
            continue;
        }
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        auto c = std::make_unique<HttpConnection>();
        c->fd = fd;
        c->parser = http::RequestParser(limits.parsing);
        c->lastActivity = c->lastWrite = c->lastEvent = now;
        HttpConnection& conn = *c;
        conns.emplace(nextId++, std::move(c));
        if (open >= limits.connections) {
            conn.overflow = true;
            ++overflowing;
            answer(conn,
                   errorResponse(503, "the server has " + std::to_string(limits.connections) +
                                          " connections open, the most it keeps; try again when one closes"),
                   true, now);
        }
    }
}

// Closes, or refuses, a connection past its deadline; see the bounds in the header.
void HttpServer::Loop::expire(HttpConnection& c, Clock::time_point now) {
    if (c.phase == HttpConnection::Phase::Lingering) {
        if (now >= c.lingerUntil)
            close(c);
        return;
    }
    if (c.pending() > 0) {
        if (now - c.lastWrite >= limits.write)
            close(c);
        return;
    }
    if (c.phase == HttpConnection::Phase::Streaming) {
        if (now - c.lastEvent >= limits.keepAlive) {
            c.out += ": still here\n\n";
            c.lastEvent = now;
            write(c, now);
        }
        return;
    }
    if (c.phase != HttpConnection::Phase::Reading || c.closeAfterWrite)
        return;
    if (c.requestStart) {
        if (now - *c.requestStart >= limits.request)
            answer(c,
                   errorResponse(408, "the request did not arrive whole within " +
                                          std::to_string(limits.request.count()) + " ms"),
                   true, now);
    } else if (now - c.lastActivity >= limits.idle) {
        close(c);
    }
}

void HttpServer::Loop::run() {
    // Unread bytes kept for a connection: more than the parser reads before it takes or refuses a
    // request (blank lines and a head, a chunked body on the wire, its last chunk), so a request
    // within the limits always fits; past it, reading waits until the requests ahead are done.
    const size_t bufferCap = 2 * limits.parsing.head + 3 * limits.parsing.body + 2 * kReadChunk;
    std::vector<pollfd> fds;
    std::vector<uint64_t> ids;
    while (!stopping) {
        fds.assign({{listener, POLLIN, 0}, {wakeFd, POLLIN, 0}});
        ids.assign(2, 0);
        for (auto& [id, c] : conns) {
            short events = 0;
            const bool reading =
                c->phase == HttpConnection::Phase::Reading && !c->closeAfterWrite && c->in.size() < bufferCap;
            if (reading || c->phase == HttpConnection::Phase::Streaming ||
                c->phase == HttpConnection::Phase::Lingering)
                events |= POLLIN;
            if (c->peerClosed)
                events &= ~POLLIN;
            if (c->pending() > 0)
                events |= POLLOUT;
            // A connection with nothing to wait for is left out (poll would report its hang-up).
            fds.push_back({events == 0 && c->peerClosed ? -1 : c->fd, events, 0});
            ids.push_back(id);
        }
        // Deadlines are checked at least every 100 ms.
        if (::poll(fds.data(), fds.size(), 100) < 0 && errno != EINTR)
            break;
        const auto now = Clock::now();
        if (fds[1].revents & POLLIN) {
            uint64_t count;
            [[maybe_unused]] ssize_t n = ::read(wakeFd, &count, sizeof count);
        }
        std::deque<Done> finished;
        {
            std::lock_guard lock(mutex);
            finished.swap(done);
        }
        for (Done& d : finished) {
            auto it = conns.find(d.conn);
            if (it == conns.end() || it->second->dead)
                continue;
            HttpConnection& c = *it->second;
            c.phase = HttpConnection::Phase::Reading;
            answer(c, d.response, !c.keepAlive, now);
            process(d.conn, c, now);
        }
        for (size_t i = 2; i < fds.size(); ++i) {
            auto it = conns.find(ids[i]);
            if (it == conns.end())
                continue;
            HttpConnection& c = *it->second;
            if (!c.dead && (fds[i].revents & POLLOUT)) {
                write(c, now);
                if (!c.dead && c.phase == HttpConnection::Phase::Streaming)
                    pollStream(c, now);
            }
            if (!c.dead && (fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                read(c, now);
            if (!c.dead && c.phase == HttpConnection::Phase::Reading)
                process(ids[i], c, now);
        }
        for (auto& [id, c] : conns)
            if (!c->dead && c->phase == HttpConnection::Phase::Streaming)
                pollStream(*c, now);
        for (auto& [id, c] : conns)
            if (!c->dead)
                expire(*c, now);
        if (fds[0].revents & POLLIN)
            accept(now);
        for (auto it = conns.begin(); it != conns.end();) {
            if (it->second->dead) {
                ::close(it->second->fd);
                it = conns.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& [id, c] : conns)
        ::close(c->fd);
    conns.clear();
}

HttpServer::HttpServer(std::string host, HttpLimits limits, Router router)
    : loop_(std::make_unique<Loop>(std::move(host), limits, std::move(router))) {}

HttpServer::~HttpServer() {
    stop();
}

std::string HttpServer::bind(int port) {
    Loop& l = *loop_;
    const std::string failure = "cannot listen on " + l.host + " port " + std::to_string(port) +
                                " (in use, or not an address of this machine)";
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (port < 0 || port > 65535 ||
        ::getaddrinfo(l.host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return failure;
    for (addrinfo* a = found; a && l.listener < 0; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0)
            continue;
        const int one = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        if (::bind(fd, a->ai_addr, a->ai_addrlen) == 0 && ::listen(fd, kBacklog) == 0) {
            l.listener = fd;
        } else {
            ::close(fd);
        }
    }
    ::freeaddrinfo(found);
    if (l.listener < 0)
        return failure;
    sockaddr_storage bound{};
    socklen_t size = sizeof bound;
    ::getsockname(l.listener, reinterpret_cast<sockaddr*>(&bound), &size);
    port_ = ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                              : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    return "";
}

void HttpServer::start() {
    Loop& l = *loop_;
    for (size_t i = 0; i < l.limits.workers; ++i)
        l.workers.emplace_back([&l] { l.workerLoop(); });
    thread_ = std::thread([&l] { l.run(); });
}

void HttpServer::stop() {
    if (!thread_.joinable())
        return;
    Loop& l = *loop_;
    l.stopping = true;
    l.wake();
    thread_.join();
    {
        std::lock_guard lock(l.mutex);
        l.workersStop = true;
    }
    l.jobReady.notify_all();
    for (std::thread& t : l.workers)
        t.join();
    l.workers.clear();
}

void HttpServer::wake() {
    loop_->wake();
}

} // namespace sim::web
