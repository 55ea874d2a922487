#include "support/test_certificates.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace larkspin::test_support {

namespace {
void Run(const std::string& command) {
  if (std::system((command + " >/dev/null 2>&1").c_str()) != 0)
    throw std::runtime_error("certificate step failed: " + command);
}
}  // namespace

TestCertificates::TestCertificates(const std::string& folder, const std::string& host_name)
    : authority_(folder + "/ca.pem"), certificate_(folder + "/server.pem"), key_(folder + "/server.key") {
  const std::string authority_key = folder + "/ca.key";
  const std::string request = folder + "/server.csr";
  const std::string extensions = folder + "/server.ext";
  std::ofstream(extensions) << "subjectAltName=DNS:" << host_name << "\n"
                            << "basicConstraints=CA:FALSE\nkeyUsage=digitalSignature,keyEncipherment\n"
                            << "extendedKeyUsage=serverAuth\n";
  Run("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/CN=Larkspin Test Authority' -keyout " +
      authority_key + " -out " + authority_);
  Run("openssl req -newkey rsa:2048 -nodes -subj '/CN=" + host_name + "' -keyout " + key_ + " -out " + request);
  Run("openssl x509 -req -in " + request + " -CA " + authority_ + " -CAkey " + authority_key +
      " -CAcreateserial -days 2 -extfile " + extensions + " -out " + certificate_);
}

}  // namespace larkspin::test_support
