#include "support/keyring_tools.h"

#include "support/python_check.h"

namespace larkspin::test_support {

std::string SecretToolSearch(const std::string& host, const std::string& login) {
  return RunPython(
      "import subprocess, sys\n"
      "host, login = sys.stdin.read().split('\\n')\n"
      "run = subprocess.run(['secret-tool', 'search', '--all', 'xdg:schema', 'org.larkspin.Password',\n"
      "                      'host', host, 'login', login], capture_output=True, text=True)\n"
      "print(run.stdout + run.stderr, end='')\n",
      host + "\n" + login);
}

bool LockDefaultCollection() {
  int status = -1;
  RunPython(
      "import subprocess, sys\n"
      "sys.exit(subprocess.run(['dbus-send', '--session', '--print-reply', '--dest=org.freedesktop.secrets',\n"
      "    '/org/freedesktop/secrets', 'org.freedesktop.Secret.Service.Lock',\n"
      "    'array:objpath:/org/freedesktop/secrets/aliases/default'], capture_output=True).returncode)\n",
      "", &status);
  return status == 0;
}

}  // namespace larkspin::test_support
