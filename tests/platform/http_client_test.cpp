#include "platform/http_client.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/loopback_redirect.h"
#include "support/fake_http_server.h"

namespace larkspin {
namespace {

using test_support::FakeHttpServer;
using test_support::HttpAnswer;
using test_support::HttpExchange;

TEST(HttpClient, EndpointsMustBeHttpsExceptOnLoopback) {
  const struct {
    const char* url;
    bool allowed;
  } cases[] = {
      {"https://oauth2.googleapis.com/token", true},
      {"HTTPS://login.example/x", true},
      {"http://127.0.0.1:8080/token", true},
      {"http://[::1]:9/token", true},
      {"http://localhost/token", true},
      {"http://example.org/token", false},
      {"http://127.0.0.1.example.org/token", false},
      {"http://user@127.0.0.1/token", false},
      {"ftp://127.0.0.1/token", false},
      {"127.0.0.1/token", false},
      {"https:///token", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsAllowedEndpoint(c.url), c.allowed) << c.url;
}

TEST(HttpClient, FormFieldsAreEscaped) {
  EXPECT_EQ(FormEncoded({{"grant_type", "refresh_token"}, {"scope", "a b/c+d&e=f~"}}),
            "grant_type=refresh_token&scope=a%20b%2Fc%2Bd%26e%3Df~");
}

TEST(HttpClient, PostsTheFormAndReadsStatusAndBody) {
  FakeHttpServer server([](const HttpExchange& exchange) {
    return HttpAnswer{exchange.form.count("code") ? 200 : 400, "{\"seen\":\"" + exchange.path + "\"}"};
  });
  CHttpClient client;
  const HttpReply ok = client.PostForm(server.Url("/token"), {{"code", "x y"}}, 5000);
  ASSERT_TRUE(ok.answered) << ok.problem;
  EXPECT_EQ(ok.status, 200);
  EXPECT_EQ(ok.body, "{\"seen\":\"/token\"}");
  EXPECT_EQ(client.PostForm(server.Url("/token"), {}, 5000).status, 400);
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(server.Requests()[0].form.at("code"), "x y");
}

TEST(HttpClient, RefusedEndpointsAndDeadPortsAreProblems) {
  CHttpClient client;
  for (const char* url : {"http://example.org/token", "http://127.0.0.1:1/token"}) {
    const HttpReply reply = client.PostForm(url, {}, 2000);
    EXPECT_FALSE(reply.answered) << url;
    EXPECT_NE(reply.problem.find(url), std::string::npos) << reply.problem;
  }
}

TEST(HttpClient, ARequestInFlightIsDroppedSoonAfterTheStopFlagIsSet) {
  int port = 0;
  const int silent = ListenOnLoopback(port);  // takes the connection, never answers
  ASSERT_GE(silent, 0);
  std::atomic<bool> stop{false};
  CHttpClient client(&stop);
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    stop = true;
  });
  const auto start = std::chrono::steady_clock::now();
  const HttpReply reply = client.PostForm("http://127.0.0.1:" + std::to_string(port) + "/token", {}, 20000);
  const auto took = std::chrono::steady_clock::now() - start;
  stopper.join();
  ::close(silent);
  EXPECT_FALSE(reply.answered);
  EXPECT_LT(took, std::chrono::seconds(3)) << "not the whole time-out";
}

}  // namespace
}  // namespace larkspin
