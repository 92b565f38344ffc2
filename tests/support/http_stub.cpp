#include "support/http_stub.h"

#include <unistd.h>

#include "support/loopback.h"

namespace tess::test {
namespace {

constexpr int kPollMs = 20;
constexpr int kReadMs = 2000;

const char* Reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 404: return "Not Found";
    default: return "Status";
  }
}

}  // namespace

HttpStub::HttpStub() {
  listen_fd_ = ListenLoopback(port_);
  thread_ = std::thread([this] { Run(); });
}

HttpStub::~HttpStub() {
  stop_ = true;
  thread_.join();
  if (listen_fd_ >= 0) close(listen_fd_);
}

std::string HttpStub::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void HttpStub::Set(const std::string& path, HttpAnswer answer) {
  std::lock_guard<std::mutex> lock(mu_);
  answers_[path] = std::move(answer);
}

std::vector<std::string> HttpStub::Requests() const {
  std::lock_guard<std::mutex> lock(mu_);
  return requests_;
}

void HttpStub::Run() {
  while (!stop_ && listen_fd_ >= 0) {
    const int fd = AcceptWithin(listen_fd_, kPollMs);
    if (fd < 0) continue;
    Serve(fd);
    close(fd);
  }
}

void HttpStub::Serve(int fd) {
  std::string request;
  char buf[2048];
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
    const ssize_t n = ReadWithin(fd, buf, sizeof buf, kReadMs);
    if (n <= 0) return;
    request.append(buf, static_cast<size_t>(n));
  }
  // "GET /path HTTP/1.1"
  const size_t begin = request.find(' ');
  const size_t end = begin == std::string::npos ? begin : request.find(' ', begin + 1);
  const std::string path = end == std::string::npos ? "" : request.substr(begin + 1, end - begin - 1);
  HttpAnswer answer{404, "text/plain", "not found", ""};
  {
    std::lock_guard<std::mutex> lock(mu_);
    requests_.push_back(path);
    if (auto it = answers_.find(path); it != answers_.end()) answer = it->second;
  }
  std::string head = "HTTP/1.1 " + std::to_string(answer.status) + " " + Reason(answer.status) + "\r\n";
  if (!answer.content_type.empty()) head += "Content-Type: " + answer.content_type + "\r\n";
  if (!answer.location.empty()) head += "Location: " + answer.location + "\r\n";
  head += "Content-Length: " + std::to_string(answer.body.size()) + "\r\nConnection: close\r\n\r\n";
  std::vector<uint8_t> bytes(head.begin(), head.end());
  bytes.insert(bytes.end(), answer.body.begin(), answer.body.end());
  WriteAll(fd, bytes);
}

uint16_t RefusingPort() {
  uint16_t port = 0;
  const int fd = ListenLoopback(port);
  if (fd >= 0) close(fd);
  return port;
}

}  // namespace tess::test
