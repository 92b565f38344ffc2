#include "ui/notice_page.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <mutex>

#include "platform/gbk.h"
#include "ui/picture_decode.h"

namespace tess {
namespace {

constexpr long kConnectTimeoutMs = 10000;
constexpr long kFetchTimeoutMs = 15000;
constexpr long kMaxRedirects = 5;
constexpr size_t kMaxBodyBytes = 1 << 20;

CURLM* Multi(void* p) { return static_cast<CURLM*>(p); }

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& ch : out) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return out;
}

// The charset named after "charset=" in `text` (a Content-Type value or the
// head of a page), lower case; empty when none is named.
std::string CharsetIn(std::string_view text) {
  const std::string lower = Lower(text);
  const size_t at = lower.find("charset=");
  if (at == std::string::npos) return "";
  size_t begin = at + 8;
  while (begin < lower.size() && (lower[begin] == '"' || lower[begin] == '\'')) ++begin;
  size_t end = begin;
  while (end < lower.size() && (std::isalnum(static_cast<unsigned char>(lower[end])) || lower[end] == '-' ||
                                lower[end] == '_'))
    ++end;
  return lower.substr(begin, end - begin);
}

bool IsGbk(const std::string& charset) {
  return charset == "gbk" || charset == "gb2312" || charset == "gb18030" || charset == "cp936";
}

// The body as UTF-8: converted from GBK when the answer or the page says so.
std::string BodyUtf8(const std::string& body, std::string_view content_type) {
  std::string charset = CharsetIn(content_type);
  if (charset.empty()) charset = CharsetIn(std::string_view(body).substr(0, 1024));
  return IsGbk(charset) ? GbkToUtf8(body) : body;
}

// `s` with &amp; &lt; &gt; &quot; &apos; &#39; &nbsp; and numeric
// references below 0x110000 decoded; anything else kept as written.
std::string DecodeEntities(std::string_view s) {
  static const std::pair<std::string_view, std::string_view> kNamed[] = {
      {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", " "}};
  std::string out;
  for (size_t i = 0; i < s.size();) {
    const size_t semi = s[i] == '&' ? s.find(';', i) : std::string_view::npos;
    if (semi == std::string_view::npos || semi - i > 10) {
      out += s[i++];
      continue;
    }
    const std::string_view name = s.substr(i + 1, semi - i - 1);
    std::string decoded;
    for (const auto& [n, text] : kNamed)
      if (name == n) decoded = text;
    if (decoded.empty() && name.size() > 1 && name[0] == '#') {
      const bool hex = name[1] == 'x' || name[1] == 'X';
      unsigned long code = 0;
      bool digits = name.size() > (hex ? 2u : 1u);
      for (char ch : name.substr(hex ? 2 : 1)) {
        const int d = std::isdigit(static_cast<unsigned char>(ch)) ? ch - '0'
                      : hex && std::isxdigit(static_cast<unsigned char>(ch))
                          ? std::tolower(static_cast<unsigned char>(ch)) - 'a' + 10
                          : -1;
        if (d < 0 || code > 0x10FFFF) digits = false;
        if (!digits) break;
        code = code * (hex ? 16 : 10) + static_cast<unsigned long>(d);
      }
      if (digits && code > 0 && code < 0x110000 && (code < 0xD800 || code > 0xDFFF)) {
        if (code < 0x80) {
          decoded += static_cast<char>(code);
        } else if (code < 0x800) {
          decoded += static_cast<char>(0xC0 | (code >> 6));
          decoded += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
          decoded += static_cast<char>(0xE0 | (code >> 12));
          decoded += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
          decoded += static_cast<char>(0x80 | (code & 0x3F));
        } else {
          decoded += static_cast<char>(0xF0 | (code >> 18));
          decoded += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
          decoded += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
          decoded += static_cast<char>(0x80 | (code & 0x3F));
        }
      }
    }
    if (decoded.empty()) {
      out += s[i++];
      continue;
    }
    out += decoded;
    i = semi + 1;
  }
  return out;
}

// Runs of white space as one space, none at either end.
std::string Squeeze(std::string_view s) {
  std::string out;
  bool space = false;
  for (char ch : s) {
    if (std::isspace(static_cast<unsigned char>(ch))) {
      space = !out.empty();
      continue;
    }
    if (space) out += ' ';
    space = false;
    out += ch;
  }
  return out;
}

// The text outside tags, with what <script> and <style> hold left out.
std::string TextOutsideTags(std::string_view body) {
  const std::string lower = Lower(body);
  std::string out;
  for (size_t i = 0; i < body.size();) {
    if (body[i] != '<') {
      out += body[i++];
      continue;
    }
    size_t close = lower.find('>', i);
    for (std::string_view hidden : {"script", "style"}) {
      if (close == std::string::npos || lower.compare(i + 1, hidden.size(), hidden) != 0) continue;
      const size_t end = lower.find("</" + std::string(hidden), close);
      close = end == std::string::npos ? end : lower.find('>', end);
    }
    if (close == std::string::npos) break;
    out += ' ';
    i = close + 1;
  }
  return out;
}

}  // namespace

std::string PageText(std::string_view body) {
  const std::string lower = Lower(body);
  const size_t open = lower.find("<title");
  if (open != std::string::npos) {
    const size_t start = lower.find('>', open);
    const size_t end = start == std::string::npos ? start : lower.find("</title", start);
    if (end != std::string::npos) {
      std::string title = Squeeze(DecodeEntities(body.substr(start + 1, end - start - 1)));
      if (!title.empty()) return title;
    }
  }
  return Squeeze(DecodeEntities(TextOutsideTags(body)));
}

WebBrowser::WebBrowser(EventLoop& loop, Element& element)
    : loop_(loop), element_(element), timer_(loop, "WebBrowser") {
  element_.word_wrap = true;
  static std::once_flag curl_ready;
  std::call_once(curl_ready, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  multi_ = curl_multi_init();
  curl_multi_setopt(Multi(multi_), CURLMOPT_SOCKETFUNCTION, &WebBrowser::OnSocket);
  curl_multi_setopt(Multi(multi_), CURLMOPT_SOCKETDATA, this);
  curl_multi_setopt(Multi(multi_), CURLMOPT_TIMERFUNCTION, &WebBrowser::OnTimeoutRequest);
  curl_multi_setopt(Multi(multi_), CURLMOPT_TIMERDATA, this);
  // curl's timeouts fire once; the timer is switched off before each run.
  timer_.OnTimer = [this] {
    timer_.SetEnabled(false);
    Act(CURL_SOCKET_TIMEOUT, 0);
  };
}

WebBrowser::~WebBrowser() {
  Abandon();
  curl_multi_cleanup(Multi(multi_));
  for (const auto& [fd, watch] : watches_) loop_.UnwatchFd(watch);
}

void WebBrowser::Navigate(const std::string& url) {
  Abandon();
  body_.clear();
  CURL* easy = curl_easy_init();
  if (!easy) {
    if (OnNavigateError) OnNavigateError();
    return;
  }
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &WebBrowser::OnBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
  curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, kFetchTimeoutMs);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "");
  curl_easy_setopt(easy, CURLOPT_USERAGENT, "Tessaly");
  easy_ = easy;
  curl_multi_add_handle(Multi(multi_), easy);
}

int WebBrowser::OnSocket(void*, int fd, int what, void* self, void*) {
  auto* b = static_cast<WebBrowser*>(self);
  auto it = b->watches_.find(fd);
  if (what == CURL_POLL_REMOVE) {
    if (it != b->watches_.end()) {
      b->loop_.UnwatchFd(it->second);
      b->watches_.erase(it);
    }
    return 0;
  }
  const int events = (what & CURL_POLL_IN ? kIoReadable : 0) | (what & CURL_POLL_OUT ? kIoWritable : 0);
  if (it != b->watches_.end()) {
    b->loop_.SetFdEvents(it->second, events);
  } else {
    b->watches_[fd] = b->loop_.WatchFd(fd, events, [b, fd](int ready) {
      b->Act(fd, (ready & kIoReadable ? CURL_CSELECT_IN : 0) | (ready & kIoWritable ? CURL_CSELECT_OUT : 0));
    });
  }
  return 0;
}

int WebBrowser::OnTimeoutRequest(void*, long timeout_ms, void* self) {
  auto* b = static_cast<WebBrowser*>(self);
  b->timer_.SetEnabled(false);
  if (timeout_ms < 0) return 0;
  // A timer of interval 0 never fires: "at once" is the next millisecond.
  b->timer_.SetInterval(static_cast<int>(std::clamp<long>(timeout_ms, 1, kFetchTimeoutMs)));
  b->timer_.SetEnabled(true);
  return 0;
}

size_t WebBrowser::OnBody(char* data, size_t size, size_t count, void* self) {
  auto* b = static_cast<WebBrowser*>(self);
  const size_t n = size * count;
  if (b->body_.size() + n > kMaxBodyBytes) return 0;  // ends the fetch with an error
  b->body_.append(data, n);
  return n;
}

void WebBrowser::Act(int fd, int flags) {
  int running = 0;
  curl_multi_socket_action(Multi(multi_), fd, flags, &running);
  FinishIfDone();
}

void WebBrowser::FinishIfDone() {
  int left = 0;
  bool done = false, loaded = false;
  std::string content_type;
  while (CURLMsg* m = curl_multi_info_read(Multi(multi_), &left)) {
    if (m->msg != CURLMSG_DONE || m->easy_handle != easy_) continue;
    long status = 0;
    curl_easy_getinfo(m->easy_handle, CURLINFO_RESPONSE_CODE, &status);
    const char* type = nullptr;
    curl_easy_getinfo(m->easy_handle, CURLINFO_CONTENT_TYPE, &type);
    if (type) content_type = type;
    done = true;
    loaded = m->data.result == CURLE_OK && status >= 200 && status < 300;
  }
  if (!done) return;
  Abandon();
  // Callbacks last: they may navigate again.
  if (loaded) {
    Show(content_type);
    if (OnDocumentComplete) OnDocumentComplete();
  } else if (OnNavigateError) {
    OnNavigateError();
  }
}

void WebBrowser::Abandon() {
  if (!easy_) return;
  curl_multi_remove_handle(Multi(multi_), easy_);
  curl_easy_cleanup(easy_);
  easy_ = nullptr;
}

void WebBrowser::Show(std::string_view content_type) {
  if (PictureRef picture = DecodePicture(body_.data(), body_.size(), -1)) {
    element_.SetPicture(std::move(picture));
    element_.caption.clear();
    return;
  }
  element_.SetPicture(nullptr);
  element_.caption = PageText(BodyUtf8(body_, content_type));
}

}  // namespace tess
