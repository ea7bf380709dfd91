// Reading requests from a connection's bytes: what is taken, what is refused with which status,
// and that bytes arriving one at a time give exactly what they give all at once.
#include "HttpChecks.h"
#include "HttpRequest.h"
#include "ParseOutcome.h"

#include <gtest/gtest.h>

namespace sim::web::http {

// How a failed comparison shows an outcome.
std::ostream& operator<<(std::ostream& os, const ParseOutcome& o) {
    return os << "{state " << int(o.state) << ", status " << o.status << ", consumed " << o.consumed
              << ", body \"" << o.body << "\"}";
}

namespace {

using State = RequestParser::State;

// Small limits, so the bounds are reached with short inputs.
constexpr Limits kSmall{256, 8, 64, 16};

using Outcome = ParseOutcome;

Outcome whole(const std::string& input, Limits limits = kSmall) {
    RequestParser p(limits);
    return parseOutcome(p, p.parse(input));
}

// The same input offered as it might trickle in: one more byte each call.
Outcome byteByByte(const std::string& input, Limits limits = kSmall) {
    RequestParser p(limits);
    return parseOutcome(p, parseInPieces(p, input, 1));
}

const std::string kHead = "POST /api/action HTTP/1.1\r\nHost: 127.0.0.1\r\n";

struct Case {
    const char* name;
    std::string input;
    State state;
    int status = 0;        // when refused
    std::string body = ""; // when done
};

TEST(HttpRequest, EachInputIsTakenOrRefusedAsItShouldBe) {
    const std::string nul("Host: localhost\0.evil.com\r\n", 27);
    const std::vector<Case> cases{
        {"a plain GET", "GET / HTTP/1.1\r\nHost: a\r\n\r\n", State::Done},
        {"blank lines before it", "\r\n\r\nGET / HTTP/1.1\r\nHost: a\r\n\r\n", State::Done},
        {"a head still coming", "GET / HTTP/1.1\r\nHost: a\r\n", State::NeedMore},
        {"a body by length", kHead + "Content-Length: 5\r\n\r\nhello", State::Done, 0, "hello"},
        {"a length with leading zeros", kHead + "Content-Length: 0005\r\n\r\nhello", State::Done, 0, "hello"},
        {"a body still coming", kHead + "Content-Length: 5\r\n\r\nhel", State::NeedMore},
        {"chunks", kHead + "Transfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n1;ext=1\r\n!\r\n0\r\n\r\n",
         State::Done, 0, "hello!"},
        {"chunks with a trailer",
         kHead + "Transfer-Encoding: Chunked\r\n\r\n2\r\nhi\r\n0\r\nX-Sum: 1\r\n\r\n", State::Done, 0, "hi"},
        {"chunks still coming", kHead + "Transfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n", State::NeedMore},
        {"a bare LF", "GET / HTTP/1.1\nHost: a\n\n", State::Refused, 400},
        {"a CR alone", "GET / HTTP/1.1\rHost: a\r\n\r\n", State::Refused, 400},
        {"a NUL in the Host", "GET / HTTP/1.1\r\n" + nul + "\r\n", State::Refused, 400},
        {"a folded line", "GET / HTTP/1.1\r\nHost: a\r\n b\r\n\r\n", State::Refused, 400},
        {"a blank before the colon", "GET / HTTP/1.1\r\nHost : a\r\n\r\n", State::Refused, 400},
        {"no colon", "GET / HTTP/1.1\r\nHost a\r\n\r\n", State::Refused, 400},
        {"no Host", "GET / HTTP/1.1\r\n\r\n", State::Refused, 400},
        {"two Hosts", "GET / HTTP/1.1\r\nHost: localhost\r\nHost: evil.com\r\n\r\n", State::Refused, 400},
        {"a length that is no number", kHead + "Content-Length: abc\r\n\r\n", State::Refused, 400},
        {"a negative length", kHead + "Content-Length: -1\r\n\r\n", State::Refused, 400},
        {"a list of lengths", kHead + "Content-Length: 5, 5\r\n\r\nhello", State::Refused, 400},
        {"two lengths", kHead + "Content-Length: 5\r\nContent-Length: 0\r\n\r\nhello", State::Refused, 400},
        {"a length over the limit", kHead + "Content-Length: 17\r\n\r\n", State::Refused, 413},
        {"a length past 64 bits", kHead + "Content-Length: 99999999999999999999999\r\n\r\n", State::Refused,
         413},
        {"an unknown encoding", kHead + "Transfer-Encoding: gzip\r\nContent-Length: 2\r\n\r\nhi",
         State::Refused, 400},
        {"encodings stacked", kHead + "Transfer-Encoding: gzip, chunked\r\n\r\n0\r\n\r\n", State::Refused,
         400},
        {"chunks and a length", kHead + "Transfer-Encoding: chunked\r\nContent-Length: 5\r\n\r\n0\r\n\r\n",
         State::Refused, 400},
        {"two encodings", kHead + "Transfer-Encoding: chunked\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n",
         State::Refused, 400},
        {"chunks in HTTP/1.0", "POST / HTTP/1.0\r\nHost: a\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n",
         State::Refused, 400},
        {"decoded chunks over the limit",
         kHead + "Transfer-Encoding: chunked\r\n\r\n9\r\n123456789\r\n9\r\n123456789\r\n0\r\n\r\n",
         State::Refused, 413},
        {"one huge chunk", kHead + "Transfer-Encoding: chunked\r\n\r\nfffffffff\r\n", State::Refused, 413},
        {"a chunk size that is no number", kHead + "Transfer-Encoding: chunked\r\n\r\nzz\r\n", State::Refused,
         400},
        {"a chunk missing its CR LF", kHead + "Transfer-Encoding: chunked\r\n\r\n2\r\nhiXX0\r\n\r\n",
         State::Refused, 400},
        {"a flood of empty extensions",
         kHead + "Transfer-Encoding: chunked\r\n\r\n" +
             [] {
                 std::string s;
                 for (int i = 0; i < 12; ++i)
                     s += "1;aaa\r\nx\r\n";
                 return s;
             }(),
         State::Refused, 413},
        {"a head over the limit", "GET / HTTP/1.1\r\nHost: a\r\nX: " + std::string(300, 'a') + "\r\n\r\n",
         State::Refused, 431},
        {"blank lines without end",
         [] {
             std::string s;
             for (int i = 0; i < 150; ++i)
                 s += "\r\n";
             return s;
         }(),
         State::Refused, 431},
        {"too many fields",
         "GET / HTTP/1.1\r\nHost: a\r\nA: 1\r\nB: 1\r\nC: 1\r\nD: 1\r\nE: 1\r\nF: 1\r\nG: 1\r\nH: 1\r\n\r\n",
         State::Refused, 431},
        {"a long target", "GET /" + std::string(80, 'a') + " HTTP/1.1\r\nHost: a\r\n\r\n", State::Refused,
         414},
        {"HTTP/2", "GET / HTTP/2.0\r\nHost: a\r\n\r\n", State::Refused, 400},
        {"an absolute target", "GET http://evil.com/ HTTP/1.1\r\nHost: a\r\n\r\n", State::Refused, 400},
        {"two blanks in the request line", "GET  / HTTP/1.1\r\nHost: a\r\n\r\n", State::Refused, 400},
        {"a method that is no token", "G(T / HTTP/1.1\r\nHost: a\r\n\r\n", State::Refused, 400},
        {"an expectation not met", kHead + "Expect: magic\r\nContent-Length: 1\r\n\r\nx", State::Refused,
         417},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome got = whole(c.input);
        EXPECT_EQ(got.state, c.state) << got;
        if (c.state == State::Refused) {
            EXPECT_EQ(got.status, c.status);
        }
        if (c.state == State::Done) {
            EXPECT_EQ(got.body, c.body);
            EXPECT_EQ(got.consumed, c.input.size());
        }
        EXPECT_EQ(byteByByte(c.input), got) << "a request read as it trickles in must come out the same";
    }
}

TEST(HttpRequest, TheRequestLineAndFieldsAreKept) {
    RequestParser p;
    ASSERT_EQ(p.parse("GET /api/inspect/settings?x=1 HTTP/1.1\r\nHOST:  localhost:8026 \r\nConnection: "
                      "keep-alive, Close\r\n\r\n"),
              State::Done);
    const Request& r = p.request();
    EXPECT_EQ(r.method, "GET");
    EXPECT_EQ(r.target, "/api/inspect/settings?x=1");
    EXPECT_EQ(r.path, "/api/inspect/settings");
    ASSERT_NE(r.field("host"), nullptr);
    EXPECT_EQ(*r.field("host"), "localhost:8026");
    EXPECT_FALSE(r.keepAlive);
    RequestParser old;
    ASSERT_EQ(old.parse("GET / HTTP/1.0\r\nHost: a\r\n\r\n"), State::Done);
    EXPECT_FALSE(old.request().keepAlive) << "HTTP/1.0 closes after each answer";
    RequestParser kept;
    ASSERT_EQ(kept.parse("GET / HTTP/1.1\r\nHost: a\r\n\r\n"), State::Done);
    EXPECT_TRUE(kept.request().keepAlive);
}

TEST(HttpRequest, PipelinedRequestsFollowOneAnother) {
    const std::string first = kHead + "Content-Length: 2\r\n\r\nab",
                      second = "GET /b HTTP/1.1\r\nHost: a\r\n\r\n";
    std::string buffer = first + second + "GET /c HT";
    RequestParser p(kSmall);
    ASSERT_EQ(p.parse(buffer), State::Done);
    EXPECT_EQ(p.consumed(), first.size());
    EXPECT_EQ(p.request().body, "ab");
    buffer.erase(0, p.consumed());
    p.reset();
    ASSERT_EQ(p.parse(buffer), State::Done);
    EXPECT_EQ(p.request().path, "/b");
    EXPECT_TRUE(p.request().body.empty()) << "the previous request's body stays with it";
    buffer.erase(0, p.consumed());
    p.reset();
    EXPECT_EQ(p.parse(buffer), State::NeedMore);
    EXPECT_TRUE(p.started());
}

TEST(HttpRequest, AClientThatExpectsContinueIsToldToSendItsBody) {
    RequestParser p(kSmall);
    std::string input = kHead + "Expect: 100-continue\r\nContent-Length: 2\r\n\r\n";
    EXPECT_EQ(p.parse(input), State::NeedMore);
    EXPECT_TRUE(p.wantsContinue());
    EXPECT_EQ(p.parse(input + "ok"), State::Done);
    RequestParser none(kSmall);
    EXPECT_EQ(none.parse(kHead + "Content-Length: 2\r\n\r\n"), State::NeedMore);
    EXPECT_FALSE(none.wantsContinue());
}

TEST(HttpChecks, OnlyTheBoundHostLocalhostAndLoopbackAddressesAreAnswered) {
    struct HostCase {
        std::string_view host;
        const char* bound;
        bool allowed;
    };
    const std::vector<HostCase> cases{
        {"127.0.0.1", "127.0.0.1", true},
        {"127.0.0.1:8026", "127.0.0.1", true},
        {"localhost:8026", "127.0.0.1", true},
        {"LocalHost", "127.0.0.1", true},
        {"[::1]:8026", "127.0.0.1", true},
        {"127.1.2.3:1", "127.0.0.1", true},
        {"192.168.1.5:80", "192.168.1.5", true},
        {"[fe80::1]:80", "fe80::1", true},
        {"127.0.0.1:65535", "127.0.0.1", true},
        {"localhost:80@evil", "127.0.0.1", false},
        {"localhost:abc", "127.0.0.1", false},
        {"[::1]evil.com", "127.0.0.1", false},
        {"[localhost]", "127.0.0.1", false},
        {"localhost.", "127.0.0.1", false},
        {"localhost:", "127.0.0.1", false},
        {"localhost:0", "127.0.0.1", false},
        {"localhost:65536", "127.0.0.1", false},
        {"localhost:080800", "127.0.0.1", false},
        {"127.0.0.01", "127.0.0.1", false},
        {"127.0.0.256", "127.0.0.1", false},
        {"127.0.0", "127.0.0.1", false},
        {"127.0.0.1.", "127.0.0.1", false},
        {"128.0.0.1", "127.0.0.1", false},
        {"evil.com", "127.0.0.1", false},
        {"", "127.0.0.1", false},
        {":8026", "127.0.0.1", false},
        {"[::1", "127.0.0.1", false},
        {"[::2]", "127.0.0.1", false},
        {"192.168.1.5", "127.0.0.1", false},
        {"localhost:+80", "127.0.0.1", false},
        {"evil.localhost", "127.0.0.1", false},
        {"localhost evil", "127.0.0.1", false},
        {"fe80::1", "fe80::1", false},
        {std::string_view("localhost\0.evil.com", 19), "127.0.0.1", false},
    };
    for (const HostCase& c : cases) {
        SCOPED_TRACE(std::string(c.host));
        EXPECT_EQ(hostAllowed(c.host, c.bound), c.allowed);
    }
}

TEST(HttpChecks, APostIsJsonFromThePagesOwnOrigin) {
    struct PostCase {
        const char* name;
        std::string fields;
        int status; // 0: taken
        std::string message = "";
    };
    const std::vector<PostCase> cases{
        {"JSON from the page", "Content-Type: application/json\r\nOrigin: http://127.0.0.1:8026\r\n", 0},
        {"JSON with a charset, no Origin", "Content-Type: Application/JSON; charset=utf-8\r\n", 0},
        {"no type", "", 415},
        {"a type that starts like JSON", "Content-Type: application/jsonx\r\n", 415},
        {"two types", "Content-Type: application/json\r\nContent-Type: text/plain\r\n", 415},
        {"an empty Origin", "Content-Type: application/json\r\nOrigin:\r\n", 403, "empty Origin"},
        {"a foreign Origin", "Content-Type: application/json\r\nOrigin: http://evil.com\r\n", 403},
        {"the null Origin", "Content-Type: application/json\r\nOrigin: null\r\n", 403},
        {"two Origins",
         "Content-Type: application/json\r\nOrigin: http://127.0.0.1:8026\r\nOrigin: http://evil.com\r\n",
         400},
    };
    for (const PostCase& c : cases) {
        SCOPED_TRACE(c.name);
        RequestParser p;
        ASSERT_EQ(p.parse("POST /api/action HTTP/1.1\r\nHost: 127.0.0.1:8026\r\n" + c.fields + "\r\n"),
                  State::Done);
        auto refusal = checkRequest(p.request(), "127.0.0.1");
        EXPECT_EQ(refusal ? refusal->status : 0, c.status) << (refusal ? refusal->message : "");
        if (refusal) {
            EXPECT_NE(refusal->message.find(c.message), std::string::npos) << refusal->message;
        }
    }
    RequestParser get;
    ASSERT_EQ(get.parse("GET / HTTP/1.1\r\nHost: evil.com\r\n\r\n"), State::Done);
    auto refusal = checkRequest(get.request(), "127.0.0.1");
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->status, 403);
    EXPECT_NE(refusal->message.find("answers only to 127.0.0.1"), std::string::npos);
}

} // namespace
} // namespace sim::web::http
