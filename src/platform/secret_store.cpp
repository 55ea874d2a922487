#include "platform/secret_store.h"

#include <libsecret/secret.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "common/format.h"

namespace larkspin {

namespace {

const SecretSchema kPasswordSchema = {
    "org.larkspin.Password",
    SECRET_SCHEMA_NONE,
    {{"host", SECRET_SCHEMA_ATTRIBUTE_STRING}, {"login", SECRET_SCHEMA_ATTRIBUTE_STRING}, {nullptr, {}}},
    0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

const SecretSchema kOAuthSchema = {
    "org.larkspin.OAuth",
    SECRET_SCHEMA_NONE,
    {{"host", SECRET_SCHEMA_ATTRIBUTE_STRING}, {"login", SECRET_SCHEMA_ATTRIBUTE_STRING}, {nullptr, {}}},
    0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

const SecretSchema* SchemaOf(const SecretKey& key) {
  return key.kind == SecretKind::kOAuthRefreshToken ? &kOAuthSchema : &kPasswordSchema;
}

// Cancels the calls given its cancellable once timeout_ms have passed, unless it ended first.
class CCallDeadline {
 public:
  explicit CCallDeadline(unsigned timeout_ms) : cancellable_(g_cancellable_new()), timeout_ms_(timeout_ms) {
    watcher_ = std::thread([this] {
      std::unique_lock<std::mutex> lock(mutex_);
      if (!ended_.wait_for(lock, std::chrono::milliseconds(timeout_ms_), [this] { return done_; }))
        g_cancellable_cancel(cancellable_);
    });
  }
  ~CCallDeadline() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    ended_.notify_one();
    watcher_.join();
    g_object_unref(cancellable_);
  }
  CCallDeadline(const CCallDeadline&) = delete;
  CCallDeadline& operator=(const CCallDeadline&) = delete;

  GCancellable* Cancellable() const { return cancellable_; }
  unsigned TimeoutMs() const { return timeout_ms_; }

 private:
  GCancellable* cancellable_;
  unsigned timeout_ms_;
  std::mutex mutex_;
  std::condition_variable ended_;
  bool done_ = false;
  std::thread watcher_;
};

SecretReply Failure(std::string problem) { return {SecretResult::kFailed, {}, std::move(problem)}; }

// Turns a libsecret error into the reply's problem and frees it.
SecretReply FailureOf(GError* error, const CCallDeadline& deadline) {
  std::string problem;
  if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED))
    problem = FormatText("the keyring did not answer within %u ms", deadline.TimeoutMs());
  else
    problem = std::string("the keyring is not available: ") + (error ? error->message : "unknown error");
  if (error) g_error_free(error);
  return Failure(problem);
}

GHashTable* AttributesOf(const SecretKey& key) {
  return secret_attributes_build(SchemaOf(key), "host", key.host.c_str(), "login", key.login.c_str(), nullptr);
}

// Connects to the service (with an open session) and runs call on the key's attributes, all
// within the time limit. call returns the reply when it sets no error.
template <typename Call>
SecretReply WithService(const SecretKey& key, unsigned timeout_ms, Call call) {
  const CCallDeadline deadline(timeout_ms);
  GError* error = nullptr;
  SecretService* service = secret_service_get_sync(SECRET_SERVICE_OPEN_SESSION, deadline.Cancellable(), &error);
  if (!service) return FailureOf(error, deadline);
  GHashTable* attributes = AttributesOf(key);
  SecretReply reply = call(service, attributes, deadline.Cancellable(), &error);
  g_hash_table_unref(attributes);
  g_object_unref(service);
  return error ? FailureOf(error, deadline) : reply;
}

// The first search hit: its password, or why it cannot be read.
SecretReply ReplyOfItem(SecretItem* item) {
  if (secret_item_get_locked(item)) return Failure("the keyring is locked");
  SecretValue* value = secret_item_get_secret(item);
  if (!value) return Failure("the keyring gave no password");
  const gchar* text = secret_value_get_text(value);
  SecretReply reply{SecretResult::kDone, text ? text : "", {}};
  secret_value_unref(value);
  if (!text) return Failure("the keyring's password is not text");
  return reply;
}

// kDone when the default collection exists and is unlocked, so that storing asks nobody.
SecretReply CheckDefaultCollection(SecretService* service, GCancellable* cancellable, GError** error) {
  SecretCollection* collection =
      secret_collection_for_alias_sync(service, SECRET_COLLECTION_DEFAULT, SECRET_COLLECTION_NONE, cancellable, error);
  if (!collection) return Failure("the keyring has no default collection");
  const bool locked = secret_collection_get_locked(collection);
  g_object_unref(collection);
  return locked ? Failure("the keyring is locked") : SecretReply{SecretResult::kDone, {}, {}};
}

}  // namespace

std::string SecretLabel(const SecretKey& key) {
  return (key.kind == SecretKind::kOAuthRefreshToken ? "Larkspin OAuth: " : "Larkspin: ") + key.login + "@" + key.host;
}

SecretReply StoreSecret(const SecretKey& key, const std::string& secret, unsigned timeout_ms) {
  return WithService(key, timeout_ms, [&](SecretService* service, GHashTable* attributes, GCancellable* cancellable,
                                          GError** error) {
    // libsecret itself would prompt to unlock or create the collection: refuse instead.
    const SecretReply usable = CheckDefaultCollection(service, cancellable, error);
    if (usable.result == SecretResult::kFailed) return usable;
    SecretValue* value = secret_value_new(secret.c_str(), static_cast<gssize>(secret.size()), "text/plain");
    const bool stored = secret_service_store_sync(service, SchemaOf(key), attributes, SECRET_COLLECTION_DEFAULT,
                                                  SecretLabel(key).c_str(), value, cancellable, error);
    secret_value_unref(value);
    return stored ? SecretReply{SecretResult::kDone, {}, {}} : Failure("the keyring did not keep the password");
  });
}

SecretReply LookUpSecret(const SecretKey& key, unsigned timeout_ms) {
  return WithService(key, timeout_ms, [&](SecretService* service, GHashTable* attributes, GCancellable* cancellable,
                                         GError** error) {
    // No SECRET_SEARCH_UNLOCK: a locked item is reported, never unlocked behind a prompt.
    GList* items = secret_service_search_sync(service, SchemaOf(key), attributes, SECRET_SEARCH_LOAD_SECRETS,
                                              cancellable, error);
    const SecretReply reply =
        items ? ReplyOfItem(SECRET_ITEM(items->data)) : SecretReply{SecretResult::kNotFound, {}, {}};
    g_list_free_full(items, g_object_unref);
    return reply;
  });
}

SecretReply RemoveSecret(const SecretKey& key, unsigned timeout_ms) {
  return WithService(key, timeout_ms, [&](SecretService* service, GHashTable* attributes, GCancellable* cancellable,
                                         GError** error) {
    // FALSE without an error means there was nothing to remove.
    secret_service_clear_sync(service, SchemaOf(key), attributes, cancellable, error);
    return SecretReply{SecretResult::kDone, {}, {}};
  });
}

}  // namespace larkspin
