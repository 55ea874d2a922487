#pragma once
// A throw-away certificate authority and a server certificate signed by it, made with the
// openssl command in a folder of the test's own, for TLS peers on 127.0.0.1.
#include <string>

namespace larkspin::test_support {

class TestCertificates {
 public:
  // Issues the server certificate for the DNS name host_name only (so "127.0.0.1" does not
  // match it, even when the name is "localhost").
  TestCertificates(const std::string& folder, const std::string& host_name);

  const std::string& AuthorityFile() const { return authority_; }
  const std::string& CertificateFile() const { return certificate_; }
  const std::string& KeyFile() const { return key_; }

 private:
  std::string authority_;
  std::string certificate_;
  std::string key_;
};

}  // namespace larkspin::test_support
