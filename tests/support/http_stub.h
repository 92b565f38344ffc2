// A tiny HTTP server for tests on 127.0.0.1: answers each request with the
// answer set for its path (404 for any other path), one request per
// connection, on a thread of its own. All members are thread-safe.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tess::test {

struct HttpAnswer {
  int status = 200;
  std::string content_type;  // no Content-Type header when empty
  std::string body;
  std::string location;      // a Location header when set
};

class HttpStub {
 public:
  HttpStub();  // listens on a free port at once
  ~HttpStub();
  HttpStub(const HttpStub&) = delete;
  HttpStub& operator=(const HttpStub&) = delete;

  uint16_t Port() const { return port_; }
  // "http://127.0.0.1:PORT" followed by `path` ("/notice.gif").
  std::string Url(const std::string& path) const;
  void Set(const std::string& path, HttpAnswer answer);
  // The paths requested so far, in order.
  std::vector<std::string> Requests() const;

 private:
  void Run();
  void Serve(int fd);

  uint16_t port_ = 0;
  int listen_fd_ = -1;
  std::atomic<bool> stop_{false};
  mutable std::mutex mu_;
  std::map<std::string, HttpAnswer> answers_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// A loopback port that nothing listens on: connects to it are refused.
uint16_t RefusingPort();

}  // namespace tess::test
