#include "ui/notice_page.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/gbk.h"
#include "support/http_stub.h"
#include "ui/picture_decode.h"
#include "ui/resources.h"

namespace tess {
namespace {

constexpr int kWaitMs = 5000;

// A browser element on a real clock and its events, against a stub server.
class NoticePageTest : public testing::Test {
 protected:
  NoticePageTest() {
    page.caption = "before";
    browser.OnDocumentComplete = [this] { events += "loaded;"; };
    browser.OnNavigateError = [this] { events += "failed;"; };
  }

  // Navigates and runs the loop until an event came (bounded).
  void Fetch(const std::string& url) {
    browser.Navigate(url);
    loop.WaitUntil([&] { return !events.empty(); }, kWaitMs);
  }

  std::span<const uint8_t> Gif() const { return FindResource(kPictureResourceType, 101); }

  RealClock clock;
  EventLoop loop{clock};
  Form form{"MainForm"};
  Element& page = form.Add(ElementKind::kBrowser, "WebBrowser1");
  WebBrowser browser{loop, page};
  test::HttpStub http;
  std::string events;
};

TEST_F(NoticePageTest, AGifBecomesTheElementsPicture) {
  ASSERT_FALSE(Gif().empty());
  http.Set("/notice.gif", {200, "image/gif", std::string(Gif().begin(), Gif().end()), ""});
  Fetch(http.Url("/notice.gif"));
  EXPECT_EQ(events, "loaded;");
  PictureRef expected = DecodePicture(Gif().data(), Gif().size(), -1);
  ASSERT_NE(page.picture, nullptr);
  EXPECT_EQ(page.picture->width, expected->width);
  EXPECT_EQ(page.picture->height, expected->height);
  EXPECT_EQ(page.picture->argb, expected->argb);
  EXPECT_EQ(page.caption, "");
}

TEST_F(NoticePageTest, AnHtmlPageShowsItsTitleAsTheCaption) {
  http.Set("/", {200, "text/html; charset=utf-8",
                 "<html><head><title>\n 本周 &amp; 公告 </title></head><body>ignored</body></html>", ""});
  Fetch(http.Url("/"));
  EXPECT_EQ(events, "loaded;");
  EXPECT_EQ(page.caption, "本周 & 公告");
  EXPECT_EQ(page.picture, nullptr);
}

TEST_F(NoticePageTest, AGbkPageIsShownInUtf8) {
  http.Set("/gbk", {200, "text/html; charset=GB2312", Utf8ToGbk("<title>新年活动</title>"), ""});
  Fetch(http.Url("/gbk"));
  EXPECT_EQ(events, "loaded;");
  EXPECT_EQ(page.caption, "新年活动");
}

TEST_F(NoticePageTest, ARedirectIsFollowed) {
  http.Set("/old", {302, "", "", http.Url("/new")});
  http.Set("/new", {200, "text/plain", "moved here", ""});
  Fetch(http.Url("/old"));
  EXPECT_EQ(events, "loaded;");
  EXPECT_EQ(page.caption, "moved here");
}

TEST_F(NoticePageTest, FailuresRaiseTheErrorAndLeaveTheElementAlone) {
  const std::string refused = "http://127.0.0.1:" + std::to_string(test::RefusingPort()) + "/";
  for (const std::string& url : {http.Url("/missing"), refused, std::string("ftp://127.0.0.1/notice")}) {
    SCOPED_TRACE(url);
    events.clear();
    Fetch(url);
    EXPECT_EQ(events, "failed;");
    EXPECT_EQ(page.caption, "before");
    EXPECT_EQ(page.picture, nullptr);
  }
}

TEST_F(NoticePageTest, ANewerNavigateAbandonsTheOlderFetch) {
  http.Set("/a", {200, "text/plain", "first", ""});
  http.Set("/b", {200, "text/plain", "second", ""});
  browser.Navigate(http.Url("/a"));
  Fetch(http.Url("/b"));
  loop.WaitProcessing(100);  // room for a stray second event
  EXPECT_EQ(events, "loaded;");
  EXPECT_EQ(page.caption, "second");
}

TEST(PageText, TitleOrTextOutsideTheMarkup) {
  struct Case {
    const char* body;
    const char* text;
  } cases[] = {
      {"<TITLE>Notice</TITLE><p>body</p>", "Notice"},
      {"<title>  </title><p>Tonight:</p>\n<p>double&nbsp;coins</p>", "Tonight: double coins"},
      {"<script>var x = '<p>no</p>';</script><style>p{}</style><b>yes</b>", "yes"},
      {"&#20844;&#x544A; &lt;1&gt; &bogus; &#0;", "公告 <1> &bogus; &#0;"},
      {"plain text", "plain text"},
      {"text<b unclosed", "text"},
  };
  for (const Case& c : cases) EXPECT_EQ(PageText(c.body), c.text) << c.body;
}

}  // namespace
}  // namespace tess
