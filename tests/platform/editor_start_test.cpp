#include "platform/editor_start.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "support/temp_folder.h"

namespace larkspin {
namespace {

// Sets an environment variable (nullptr: removes it) and puts the old value back at the end.
class CScopedVariable {
 public:
  CScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Set(value);
  }
  ~CScopedVariable() { Set(old_ ? old_->c_str() : nullptr); }

 private:
  void Set(const char* value) {
    if (value) setenv(name_, value, 1);
    else unsetenv(name_);
  }
  const char* name_;
  std::optional<std::string> old_;
};

TEST(EditorStartTest, FailsOnlyWhenNeitherTheOpenerNorVisualNorEditorStarts) {
  // A search path without xdg-open, so only VISUAL and EDITOR, given with their full paths, can start.
  test_support::TempFolder empty;
  const CScopedVariable path("PATH", empty.Path().c_str());
  struct Case {
    const char* visual;
    const char* editor;
    bool started;
  };
  for (const Case& c : {Case{nullptr, nullptr, false}, Case{"", "", false}, Case{"/no/such/editor", nullptr, false},
                        Case{"/bin/true", nullptr, true}, Case{"", "/bin/true", true},
                        Case{"/no/such/editor", "/bin/true", true}}) {
    const CScopedVariable visual("VISUAL", c.visual);
    const CScopedVariable editor("EDITOR", c.editor);
    EXPECT_EQ(OpenFileInEditor("config.ini"), c.started)
        << "VISUAL=" << (c.visual ? c.visual : "(unset)") << " EDITOR=" << (c.editor ? c.editor : "(unset)");
  }
}

}  // namespace
}  // namespace larkspin
