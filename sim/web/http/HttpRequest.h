// One HTTP/1.1 request read from a connection's bytes, strictly: a pure function of the bytes, no
// I/O. The server keeps a connection's unread bytes in one buffer and calls `parse` each time
// more arrive; the parser remembers how far it has looked, so a request that trickles in byte by
// byte costs time linear in its length. Pipelined requests follow one another in the buffer: the
// server drops `consumed()` bytes after a request, calls `reset`, and parses the next one.
//
// What is refused (a status and a message; the server answers it and closes the connection):
//   - a head (request line and header fields) over `Limits::head` bytes (431), more than
//     `Limits::fields` fields (431), a target over `Limits::target` bytes (414);
//   - lines that do not end in CR LF, control bytes (NUL among them) in the head, a field name
//     that is not a token or is followed by blanks, folded field lines, a request line that is
//     not "METHOD /path HTTP/1.0|1.1" (400);
//   - a Host missing or given twice; a Content-Length given twice, or not a decimal number;
//     a Transfer-Encoding other than a single "chunked", or next to a Content-Length; an Expect
//     other than 100-continue (417); a Transfer-Encoding in HTTP/1.0 (400);
//   - a body over `Limits::body` bytes, as declared or as decoded from chunks (413), a chunked
//     encoding over twice that on the wire (413, against floods of tiny chunks), malformed
//     chunks (400).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sim::web::http {

struct Limits {
    size_t head = 16 * 1024;
    size_t fields = 100;
    size_t target = 2048;
    size_t body = 64 * 1024;
};

struct Field {
    std::string name;  // lower case
    std::string value; // without the blanks around it
};

struct Request {
    std::string method;
    std::string target; // as sent: the path and its query
    std::string path;   // the target up to '?'
    int minorVersion = 1;
    std::vector<Field> fields;
    std::string body;
    bool keepAlive = true; // HTTP/1.1 without "Connection: close"

    // The first value of the field `lowerName`, or null.
    const std::string* field(std::string_view lowerName) const;
    size_t count(std::string_view lowerName) const;
};

struct Refusal {
    int status = 400;
    std::string message;
};

class RequestParser {
  public:
    enum class State { NeedMore, Done, Refused };

    explicit RequestParser(Limits limits = {}) : limits_(limits) {}

    // `input` holds this request's bytes from its first on (and perhaps more after it); it only
    // grows between calls until the request is done or refused.
    State parse(std::string_view input);

    // After Done: the request, and how many bytes of the input it took.
    const Request& request() const { return request_; }
    Request& request() { return request_; }
    size_t consumed() const { return consumed_; }
    // After Refused: why.
    const Refusal& refusal() const { return refusal_; }
    // The head is complete, a body is announced, none of it has arrived, and the client waits
    // for "100 Continue" before it sends it.
    bool wantsContinue() const;
    // Whether any byte of a request has arrived (blank lines before one do not count).
    bool started() const { return started_; }

    // Ready for the next request.
    void reset();

  private:
    State refuse(int status, std::string message);
    State scanHead(std::string_view input);
    State readHead(std::string_view head);
    State checkFraming();
    State readBody(std::string_view input);
    State readChunks(std::string_view input);

    Limits limits_;
    Request request_;
    Refusal refusal_;
    State state_ = State::NeedMore;
    bool started_ = false;
    size_t start_ = 0;   // where the request line begins (after blank lines)
    size_t scanned_ = 0; // bytes of the head checked so far
    size_t headEnd_ = 0; // just past the blank line that ends the head; 0 until found
    bool chunked_ = false;
    bool expectContinue_ = false;
    size_t length_ = 0;     // the Content-Length
    size_t chunkAt_ = 0;    // where the next chunk's size line begins
    bool trailers_ = false; // the last chunk has been read; trailer lines follow
    size_t consumed_ = 0;
};

} // namespace sim::web::http
