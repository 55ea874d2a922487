#pragma once
// A listening socket on 127.0.0.1 that runs one conversation per accepted connection, each on
// a thread of its own, so several clients can be served one after another or at once. Every
// service of the demo server (POP3, and later SMTP) is a conversation function on one of these.
#include <functional>
#include <list>
#include <mutex>
#include <string>
#include <thread>

#include "demo_server/line_connection.h"

namespace larkspin::demo {

class CConnectionListener {
 public:
  using Conversation = std::function<void(CLineConnection&)>;

  CConnectionListener() = default;
  CConnectionListener(const CConnectionListener&) = delete;
  CConnectionListener& operator=(const CConnectionListener&) = delete;
  ~CConnectionListener() { Stop(); }

  // Listens on 127.0.0.1:port (0 picks a free port) and starts accepting. False, with the
  // reason in error, when the port cannot be had.
  bool Start(int port, Conversation conversation, std::string& error);
  // The port actually listened on.
  int Port() const { return port_; }
  // Stops accepting, cuts the open connections and waits for their conversations to end.
  void Stop();

 private:
  struct Client {
    int socket = -1;
    bool finished = false;
    std::thread thread;
  };
  void AcceptLoop();
  void Serve(Client& client);
  void JoinFinishedClients();

  int listener_ = -1;
  int port_ = 0;
  Conversation conversation_;
  std::thread accept_thread_;
  std::mutex mutex_;
  bool stopping_ = false;
  std::list<Client> clients_;
};

}  // namespace larkspin::demo
