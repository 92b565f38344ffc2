// The notice page: a small browser element (WebBrowser1) that fetches one
// address over HTTP or HTTPS and shows what came back in its own area.
//
// The fetch runs on libcurl's multi interface inside the event loop: its
// sockets are watched with EventLoop::WatchFd and its timeouts driven by a
// Timer, so Navigate returns at once and nothing ever blocks the loop. A
// picture (GIF or PNG) becomes the element's picture; any other page is
// shown as text in the element's caption: an HTML page's <title>, or its
// text with the markup taken out when it has no title. Pages declared as
// GBK (gbk, gb2312, gb18030) are converted to UTF-8.
//
// Contracts:
// - OnDocumentComplete is raised once the page has loaded with a 2xx
//   answer, after the element's picture and caption are set; OnNavigateError
//   when the address cannot be fetched (no connection, no answer within
//   15 s, redirects beyond 5, a body over 1 MiB) or the answer is not 2xx.
//   The element is left as it was on failure. Exactly one of the two is
//   raised per Navigate, from the event loop's dispatch, unless a newer
//   Navigate or the destruction of the browser abandons the fetch first.
// - Only http and https are followed, redirects included.
// - The element must outlive the browser; the browser must not be destroyed
//   from inside its own callbacks.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "platform/event_loop.h"
#include "ui/elements.h"

namespace tess {

class WebBrowser {
 public:
  WebBrowser(EventLoop& loop, Element& element);
  ~WebBrowser();
  WebBrowser(const WebBrowser&) = delete;
  WebBrowser& operator=(const WebBrowser&) = delete;

  // Starts fetching `url`, abandoning any fetch still running.
  void Navigate(const std::string& url);

  std::function<void()> OnDocumentComplete;
  std::function<void()> OnNavigateError;

 private:
  static int OnSocket(void* easy, int fd, int what, void* self, void* socket_data);
  static int OnTimeoutRequest(void* multi, long timeout_ms, void* self);
  static size_t OnBody(char* data, size_t size, size_t count, void* self);
  void Act(int fd, int flags);
  void FinishIfDone();
  void Abandon();
  void Show(std::string_view content_type);

  EventLoop& loop_;
  Element& element_;
  void* multi_ = nullptr;  // CURLM*
  void* easy_ = nullptr;   // CURL* of the fetch under way, or null
  Timer timer_;
  std::map<int, int> watches_;  // socket -> watch id
  std::string body_;
};

// What a text page shows: the text of its <title> when it has a non-empty
// one, else all its text outside tags (scripts and styles left out); the
// common character entities decoded and runs of white space made one
// space, trimmed. `body` is UTF-8.
std::string PageText(std::string_view body);

}  // namespace tess
