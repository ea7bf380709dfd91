// A small HTTP/1.1 server for the browser device: one I/O thread polls every connection, a few
// worker threads run the requests that wait for the device, and event streams live on the I/O
// thread, so no connection holds a thread: a hundred viewers or slow clients cost a socket each.
//
// Requests are read by `http::RequestParser` and checked by `http::checkRequest`; the router
// (on the I/O thread) answers at once, hands a request to a worker, or opens an event stream.
// Pipelined requests are answered one after another, in order. Bounds, each with a refusal that
// says why (a JSON {"error": ...}):
//   - at most `connections` connections: one more is answered 503 and closed;
//   - at most `viewers` event streams: one more is answered 503;
//   - a request must arrive whole within `request` of its first byte (408), a kept-alive
//     connection idle for `idle` is closed, and so is one whose client takes none of its
//     answer (or its events) for `write`;
//   - the head, the body and the framing as `http::RequestParser` says (4xx, then closed).
#pragma once

#include "HttpRequest.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace sim::web {

struct Response {
    int status = 200;
    std::string type = "application/json";
    std::string body;
};

// An answer {"error": message}.
Response errorResponse(int status, const std::string& message);
// The answer as sent: status line, headers (never cached, never sniffed; `close` adds
// "Connection: close"), the body.
std::string serializeResponse(const Response& response, bool close);
// The head of an event stream (the connection closes when the stream ends).
const std::string& eventStreamHead();

// An event stream's source, polled on the I/O thread whenever the server is woken.
class EventStream {
  public:
    virtual ~EventStream() = default;
    // What to send now, without waiting ("" when nothing is new); sets `ended` when the stream is
    // over (what it returns is still sent).
    virtual std::string poll(bool& ended) = 0;
};

struct Routed {
    enum class Kind { Answer, Work, Stream } kind = Kind::Answer;
    Response answer;                     // Answer
    std::function<Response()> work;      // Work: run on a worker thread
    std::unique_ptr<EventStream> stream; // Stream
};

struct HttpLimits {
    size_t connections = 256;
    size_t viewers = 64;
    std::chrono::milliseconds request{10'000};
    std::chrono::milliseconds idle{5'000};
    std::chrono::milliseconds write{30'000};
    std::chrono::milliseconds keepAlive{15'000}; // a comment to a viewer after this much silence
    size_t workers = 4;
    http::Limits parsing;
};

class HttpServer {
  public:
    static constexpr int kBacklog = 512;
    using Router = std::function<Routed(http::Request&)>;

    HttpServer(std::string host, HttpLimits limits, Router router);
    ~HttpServer();
    // Binds and listens; "" on success, else why not. Port 0: one the system chooses.
    std::string bind(int port);
    int port() const { return port_; }
    // Serves on its own threads until `stop`. A worker may be waiting for the device: whoever
    // stops the server lets such waits end first (the device host answers them when it stops).
    void start();
    void stop();
    // Any thread: polls every event stream soon.
    void wake();

  private:
    struct Loop;
    std::unique_ptr<Loop> loop_;
    int port_ = 0;
    std::thread thread_;
};

} // namespace sim::web
