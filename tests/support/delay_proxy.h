#pragma once
// A TCP relay on 127.0.0.1 and an ephemeral port to a local server's port that holds every byte
// for a fixed time in each direction, as a distant server's link does: bytes keep their order
// and their spacing in time (each direction is a queue of received pieces with their due times,
// not a sleep per read), so a client that sends ahead sees the link's latency once, not once per
// command. Each accepted connection is relayed on a thread of its own until either side closes.
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace larkspin::test_support {

class DelayProxy {
 public:
  // A round trip through it lasts 2 x delay_ms longer than without it.
  DelayProxy(int target_port, int delay_ms);
  ~DelayProxy();
  DelayProxy(const DelayProxy&) = delete;
  DelayProxy& operator=(const DelayProxy&) = delete;

  int Port() const { return port_; }

 private:
  void AcceptLoop();
  void Relay(int client);

  int target_port_;
  int delay_ms_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::mutex mutex_;
  std::vector<std::thread> relays_;
  std::thread acceptor_;
};

}  // namespace larkspin::test_support
