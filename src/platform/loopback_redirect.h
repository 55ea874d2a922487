#pragma once
// The redirect target of a loopback sign-in: a listener on 127.0.0.1 and a port of the system's
// choice (http://127.0.0.1:PORT/) that takes the one request the browser makes after the
// consent, answers it with a small page saying the tab can be closed, and hands its query on.
#include <atomic>
#include <map>
#include <string>

namespace larkspin {

// The fields of a URL's query ("a=1&b=x%20y"), decoded.
std::map<std::string, std::string> QueryFields(const std::string& query);
// %XX and "+" decoded.
std::string UrlUnescaped(const std::string& text);
// A listening socket on 127.0.0.1 and a port of the system's choice, which goes to port; -1 when
// none could be opened.
int ListenOnLoopback(int& port);

class CLoopbackRedirect {
 public:
  CLoopbackRedirect();
  ~CLoopbackRedirect();
  CLoopbackRedirect(const CLoopbackRedirect&) = delete;
  CLoopbackRedirect& operator=(const CLoopbackRedirect&) = delete;

  // False when no port could be opened.
  bool Listening() const { return listener_ >= 0; }
  // "http://127.0.0.1:PORT/".
  std::string RedirectUri() const;
  // Waits at most timeout_ms for a request to "/" with a query; answers it and returns its
  // fields. Other requests (a browser's favicon) are answered 404 and passed over. False on
  // time-out, and soon after stop (when given) is set from another thread.
  bool WaitForRedirect(unsigned timeout_ms, std::map<std::string, std::string>& fields,
                       const std::atomic<bool>* stop = nullptr);

 private:
  int port_ = 0;  // before listener_, which sets it when it opens
  int listener_ = -1;
};

}  // namespace larkspin
