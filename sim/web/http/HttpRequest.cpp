#include "HttpRequest.h"

#include <algorithm>

namespace sim::web::http {
namespace {
constexpr size_t kChunkLine = 1024; // a chunk's size line, extensions included
constexpr size_t kChunkDigits = 8;  // up to 4 GiB: anything larger is over the limit anyway

bool isToken(unsigned char c) {
    if (c >= '0' && c <= '9')
        return true;
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z')
        return true;
    return std::string_view("!#$%&'*+-.^_`|~").find(char(c)) != std::string_view::npos;
}

bool allTokens(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return isToken(c); });
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
    return out;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f')
        return (c | 0x20) - 'a' + 10;
    return -1;
}

std::string kib(size_t bytes) {
    return std::to_string(bytes / 1024) + " KiB";
}
} // namespace

const std::string* Request::field(std::string_view lowerName) const {
    for (const Field& f : fields)
        if (f.name == lowerName)
            return &f.value;
    return nullptr;
}

size_t Request::count(std::string_view lowerName) const {
    return size_t(
        std::count_if(fields.begin(), fields.end(), [&](const Field& f) { return f.name == lowerName; }));
}

void RequestParser::reset() {
    *this = RequestParser(limits_);
}

bool RequestParser::wantsContinue() const {
    return state_ == State::NeedMore && headEnd_ != 0 && expectContinue_ && (chunked_ || length_ > 0);
}

RequestParser::State RequestParser::refuse(int status, std::string message) {
    refusal_ = {status, std::move(message)};
    return state_ = State::Refused;
}

RequestParser::State RequestParser::parse(std::string_view input) {
    if (state_ != State::NeedMore)
        return state_;
    if (headEnd_ == 0) {
        if (State s = scanHead(input); s != State::NeedMore || headEnd_ == 0)
            return s;
        if (State s = readHead(input.substr(start_, headEnd_ - start_ - 2)); s != State::NeedMore)
            return s;
        if (State s = checkFraming(); s != State::NeedMore)
            return s;
        chunkAt_ = headEnd_;
    }
    return chunked_ ? readChunks(input) : readBody(input);
}

// Finds the blank line that ends the head, checking each byte once.
RequestParser::State RequestParser::scanHead(std::string_view in) {
    if (!started_) {
        // Blank lines before a request line are skipped (a client may send one after a body).
        while (start_ + 1 < in.size() && in[start_] == '\r' && in[start_ + 1] == '\n')
            start_ += 2;
        if (start_ > limits_.head)
            return refuse(431, "the request's head is larger than " + kib(limits_.head));
        if (start_ >= in.size() || (in[start_] == '\r' && start_ + 1 == in.size()))
            return State::NeedMore;
        started_ = true;
        scanned_ = start_;
    }
    for (; scanned_ < in.size(); ++scanned_) {
        const unsigned char c = in[scanned_];
        if (scanned_ - start_ + 1 > limits_.head)
            return refuse(431, "the request's head is larger than " + kib(limits_.head));
        const bool afterCR = scanned_ > start_ && in[scanned_ - 1] == '\r';
        if (c == '\n') {
            if (!afterCR)
                return refuse(400, "the request's lines must end with CR LF");
            if (scanned_ >= start_ + 3 && in[scanned_ - 2] == '\n') {
                headEnd_ = scanned_ + 1;
                return State::NeedMore;
            }
            continue;
        }
        if (afterCR)
            return refuse(400, "the request's lines must end with CR LF");
        if ((c < 0x20 && c != '\t' && c != '\r') || c == 0x7f)
            return refuse(400, "the request's head holds a control byte");
    }
    return State::NeedMore;
}

// The request line and the fields; `head` ends with the last field line's CR LF.
RequestParser::State RequestParser::readHead(std::string_view head) {
    const size_t lineEnd = head.find("\r\n");
    const std::string_view line = head.substr(0, lineEnd);
    const size_t sp1 = line.find(' ');
    const size_t sp2 = sp1 == std::string_view::npos ? sp1 : line.find(' ', sp1 + 1);
    if (sp2 == std::string_view::npos)
        return refuse(400, "the request line must be METHOD /PATH HTTP/1.1");
    const std::string_view method = line.substr(0, sp1), target = line.substr(sp1 + 1, sp2 - sp1 - 1),
                           version = line.substr(sp2 + 1);
    if (!allTokens(method) || method.size() > 32)
        return refuse(400, "the request's method is not a token");
    if (target.size() > limits_.target)
        return refuse(414,
                      "the request's target is longer than " + std::to_string(limits_.target) + " bytes");
    if (target.empty() || target[0] != '/' || !std::all_of(target.begin(), target.end(), [](char c) {
            return (unsigned char)(c) > 0x20 && (unsigned char)(c) < 0x7f;
        }))
        return refuse(400, "the request's target must be a path starting with /");
    if (version != "HTTP/1.1" && version != "HTTP/1.0")
        return refuse(400, "this server speaks HTTP/1.1 and HTTP/1.0 only");
    request_.method = std::string(method);
    request_.target = std::string(target);
    request_.path = std::string(target.substr(0, target.find('?')));
    request_.minorVersion = version.back() - '0';

    for (size_t at = lineEnd + 2; at < head.size();) {
        const size_t end = head.find("\r\n", at);
        const std::string_view fieldLine = head.substr(at, end - at);
        at = end + 2;
        if (fieldLine.front() == ' ' || fieldLine.front() == '\t')
            return refuse(400, "folded header lines are not accepted");
        const size_t colon = fieldLine.find(':');
        if (colon == std::string_view::npos || !allTokens(fieldLine.substr(0, colon)))
            return refuse(400, "a header line must be NAME: VALUE, with no blank before the colon");
        if (request_.fields.size() == limits_.fields)
            return refuse(431,
                          "the request has more than " + std::to_string(limits_.fields) + " header fields");
        request_.fields.push_back(
            {lower(fieldLine.substr(0, colon)), std::string(trim(fieldLine.substr(colon + 1)))});
    }
    return State::NeedMore;
}

// How the body is framed, and whether the head names its host exactly once.
RequestParser::State RequestParser::checkFraming() {
    const Request& r = request_;
    if (r.count("host") != 1)
        return refuse(400, "a request names exactly one Host");
    if (r.count("content-length") > 1)
        return refuse(400, "a request has at most one Content-Length");
    if (r.count("transfer-encoding") > 1)
        return refuse(400, "a request has at most one Transfer-Encoding");
    if (const std::string* te = r.field("transfer-encoding")) {
        if (lower(*te) != "chunked")
            return refuse(400, "the only transfer encoding accepted is chunked");
        if (r.minorVersion == 0)
            return refuse(400, "HTTP/1.0 has no transfer encodings");
        if (r.field("content-length"))
            return refuse(400, "a request has a Content-Length or a Transfer-Encoding, not both");
        chunked_ = true;
    }
    if (const std::string* cl = r.field("content-length")) {
        if (cl->empty() || !std::all_of(cl->begin(), cl->end(), [](char c) { return c >= '0' && c <= '9'; }))
            return refuse(400, "the Content-Length must be a decimal number");
        const std::string_view digits =
            std::string_view(*cl).substr(std::min(cl->find_first_not_of('0'), cl->size()));
        if (digits.size() > 12)
            return refuse(413, "the body is larger than " + kib(limits_.body));
        length_ = digits.empty() ? 0 : std::stoull(std::string(digits));
        if (length_ > limits_.body)
            return refuse(413, "the body is larger than " + kib(limits_.body));
    }
    if (r.count("expect") > 1)
        return refuse(417, "the only expectation met is 100-continue");
    if (const std::string* expect = r.field("expect")) {
        if (lower(*expect) != "100-continue")
            return refuse(417, "the only expectation met is 100-continue");
        expectContinue_ = true;
    }
    request_.keepAlive = r.minorVersion == 1;
    for (const Field& f : r.fields) {
        if (f.name != "connection")
            continue;
        for (size_t at = 0; at <= f.value.size();) {
            const size_t comma = std::min(f.value.find(',', at), f.value.size());
            if (lower(trim(std::string_view(f.value).substr(at, comma - at))) == "close")
                request_.keepAlive = false;
            at = comma + 1;
        }
    }
    return State::NeedMore;
}

RequestParser::State RequestParser::readBody(std::string_view in) {
    if (in.size() - headEnd_ < length_)
        return State::NeedMore;
    request_.body = std::string(in.substr(headEnd_, length_));
    consumed_ = headEnd_ + length_;
    return state_ = State::Done;
}

// Chunks decoded as they complete: each is read once, and `chunkAt_` moves past it.
RequestParser::State RequestParser::readChunks(std::string_view in) {
    for (;;) {
        if (chunkAt_ - headEnd_ > 2 * limits_.body)
            return refuse(413, "the chunked body is larger than " + kib(2 * limits_.body) + " on the wire");
        const std::string_view rest = in.substr(chunkAt_);
        const size_t eol = rest.substr(0, std::min(rest.size(), kChunkLine + 2)).find("\r\n");
        if (eol == std::string_view::npos) {
            if (rest.size() >= kChunkLine + 2)
                return refuse(400,
                              trailers_ ? "a trailer line is too long" : "a chunk's size line is too long");
            return State::NeedMore;
        }
        const std::string_view line = rest.substr(0, eol);
        if (std::any_of(line.begin(), line.end(),
                        [](char c) { return ((unsigned char)(c) < 0x20 && c != '\t') || c == 0x7f; }))
            return refuse(400, "a chunk's line holds a control byte");
        if (trailers_) {
            chunkAt_ += eol + 2;
            if (line.empty()) {
                consumed_ = chunkAt_;
                return state_ = State::Done;
            }
            if (line.find(':') == std::string_view::npos || !allTokens(line.substr(0, line.find(':'))))
                return refuse(400, "a trailer line must be NAME: VALUE");
            continue;
        }
        size_t digits = 0, size = 0;
        while (digits < line.size() && hexDigit(line[digits]) >= 0) {
            if (digits == kChunkDigits)
                return refuse(413, "the body is larger than " + kib(limits_.body));
            size = size * 16 + size_t(hexDigit(line[digits++]));
        }
        const std::string_view after = trim(line.substr(digits));
        if (digits == 0 || (!after.empty() && after[0] != ';'))
            return refuse(400, "a chunk's size must be a hexadecimal number");
        if (request_.body.size() + size > limits_.body)
            return refuse(413, "the body is larger than " + kib(limits_.body));
        if (size == 0) {
            trailers_ = true;
            chunkAt_ += eol + 2;
            continue;
        }
        if (rest.size() < eol + 2 + size + 2)
            return State::NeedMore;
        if (rest.substr(eol + 2 + size, 2) != "\r\n")
            return refuse(400, "a chunk's data must end with CR LF");
        request_.body.append(rest.substr(eol + 2, size));
        chunkAt_ += eol + 2 + size + 2;
    }
}

} // namespace sim::web::http
