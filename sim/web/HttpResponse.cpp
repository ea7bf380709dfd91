// What the server writes before a body: an answer's status line and headers, an event
// stream's head; and the JSON error answer.
#include "HttpServer.h"

#include <nlohmann/json.hpp>

namespace sim::web {
namespace {

const char* reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 409:
        return "Conflict";
    case 413:
        return "Content Too Large";
    case 414:
        return "URI Too Long";
    case 415:
        return "Unsupported Media Type";
    case 417:
        return "Expectation Failed";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

} // namespace

std::string serializeResponse(const Response& r, bool close) {
    return "HTTP/1.1 " + std::to_string(r.status) + " " + reason(r.status) + "\r\nContent-Type: " + r.type +
           "\r\nContent-Length: " + std::to_string(r.body.size()) +
           "\r\nCache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\n" +
           (close ? "Connection: close\r\n" : "") + "\r\n" + r.body;
}

const std::string& eventStreamHead() {
    static const std::string head =
        "HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\nCache-Control: no-store\r\n"
        "X-Content-Type-Options: nosniff\r\nConnection: close\r\n\r\n";
    return head;
}

Response errorResponse(int status, const std::string& message) {
    return {
        status, "application/json",
        nlohmann::json{{"error", message}}.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)};
}

} // namespace sim::web
