#include "settings/file_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <utility>

#include "services/notice.h"
#include "services/set_aside.h"

namespace serenitap::settings {
namespace {

constexpr std::string_view kReadFailed =
    "The settings could not be read and the defaults are used; nothing will be saved. ";
constexpr std::uint32_t kMaxValueBytes = 8u * 1024u * 1024u;
constexpr std::size_t kMaxKeyPart = 255;
constexpr std::size_t kMaxValueName = 16383;

const char* RootName(std::int32_t root) noexcept {
  switch (root) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS: return "HKEY_USERS";
    case HKEY_PERFORMANCE_DATA: return "HKEY_PERFORMANCE_DATA";
    case HKEY_CURRENT_CONFIG: return "HKEY_CURRENT_CONFIG";
    case HKEY_DYN_DATA: return "HKEY_DYN_DATA";
    default: return nullptr;
  }
}

bool IsRootHandle(HKey key) noexcept {
  return key >= INT32_MIN && key <= INT32_MAX && RootName(static_cast<std::int32_t>(key)) != nullptr;
}

bool IsValidName(std::string_view name, std::size_t maxLength) noexcept {
  if (name.size() > maxLength) return false;
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
  }
  return IsValidUtf8(name);
}

enum class ReadOutcome { kAbsent, kRead, kUnchanged, kFailed, kNotAFile, kTooLarge };

// Why a file larger than the store reads is refused.
std::string TooLargeWhy() {
  return "it is larger than " + std::to_string(kMaxRegFileSize / (1024u * 1024u)) + " MiB, far more than settings take";
}

// Reads a whole file unless its stamp is still known; kFailed with errnoOut
// when it exists but cannot be read, kNotAFile when something other than a
// regular file stands there, kTooLarge (unread) when it is larger than any
// settings file. A pipe or a device is never opened in a way that waits: its
// type is looked at first, and the open does not block.
ReadOutcome ReadWholeFile(const std::filesystem::path& file, const FileStamp* known, std::string* text,
                          FileStamp* stamp, int* errnoOut) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return ReadOutcome::kAbsent;
    *errnoOut = errno;
    return ReadOutcome::kFailed;
  }
  if (!S_ISREG(st.st_mode)) return ReadOutcome::kNotAFile;
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    if (errno == ENOENT) return ReadOutcome::kAbsent;
    *errnoOut = errno;
    return ReadOutcome::kFailed;
  }
  ScopedFd guard(fd);
  if (::fstat(fd, &st) != 0) {
    *errnoOut = errno;
    return ReadOutcome::kFailed;
  }
  if (!S_ISREG(st.st_mode)) return ReadOutcome::kNotAFile;
  *stamp = StampOf(st);
  if (known != nullptr && *known == *stamp) return ReadOutcome::kUnchanged;
  if (static_cast<unsigned long long>(st.st_size) > kMaxRegFileSize) return ReadOutcome::kTooLarge;
  text->clear();
  char buffer[65536];
  while (true) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      *errnoOut = errno;
      return ReadOutcome::kFailed;
    }
    if (n == 0) break;
    text->append(buffer, static_cast<std::size_t>(n));
    if (text->size() > kMaxRegFileSize) break;  // the parser refuses it
  }
  return ReadOutcome::kRead;
}

bool IsReadOnly(const std::filesystem::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return false;
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(file.c_str(), W_OK) != 0;
}

}  // namespace

FileRegistryStore::FileRegistryStore(std::filesystem::path folder, std::shared_ptr<AtomicFileWriter> writer)
    : folder_(std::move(folder)), writer_(writer ? std::move(writer) : std::make_shared<PosixFileWriter>()) {}

FileRegistryStore::~FileRegistryStore() = default;

std::filesystem::path FileRegistryStore::HiveFile(std::int32_t root) const {
  const char* name = RootName(root);
  if (name == nullptr) return {};
  return folder_ / (std::string(name) + ".reg");
}

RegResult FileRegistryStore::Resolve(HKey key, std::string_view subKey, Location* where) const {
  if (IsRootHandle(key)) {
    where->root = static_cast<std::int32_t>(key);
    where->path.clear();
  } else {
    auto it = handles_.find(key);
    if (it == handles_.end()) return ERROR_INVALID_HANDLE;
    *where = it->second.where;
  }
  if (subKey.empty()) return ERROR_SUCCESS;
  if (subKey.front() == '\\') return ERROR_BAD_PATHNAME;
  if (subKey.back() == '\\') subKey.remove_suffix(1);
  while (true) {
    const std::size_t sep = subKey.find('\\');
    const std::string_view part = subKey.substr(0, sep);
    if (part.empty()) return ERROR_BAD_PATHNAME;
    where->path.emplace_back(part);
    if (sep == std::string_view::npos) return ERROR_SUCCESS;
    subKey.remove_prefix(sep + 1);
  }
}

RegResult FileRegistryStore::Handle(HKey key, std::uint32_t need, Location* where, OpenHandle** open) {
  if (IsRootHandle(key)) {
    where->root = static_cast<std::int32_t>(key);
    where->path.clear();
    if (open != nullptr) *open = nullptr;
    return ERROR_SUCCESS;
  }
  auto it = handles_.find(key);
  if (it == handles_.end()) return ERROR_INVALID_HANDLE;
  const std::uint32_t access = it->second.access;
  if ((access & MAXIMUM_ALLOWED) == 0 && (access & need) != need) return ERROR_ACCESS_DENIED;
  *where = it->second.where;
  if (open != nullptr) *open = &it->second;
  return ERROR_SUCCESS;
}

HKey FileRegistryStore::NewHandle(Location where, std::uint32_t access) {
  const HKey handle = next_handle_;
  next_handle_ += 4;
  handles_.emplace(handle, OpenHandle{std::move(where), access, ERROR_SUCCESS});
  return handle;
}

namespace {
const RegKeyNode* Walk(const RegKeyNode& root, const std::vector<std::string>& path) {
  const RegKeyNode* node = &root;
  for (const auto& part : path) {
    node = node->FindSubKey(part);
    if (node == nullptr) return nullptr;
  }
  return node;
}
RegKeyNode* Walk(RegKeyNode& root, const std::vector<std::string>& path) {
  return const_cast<RegKeyNode*>(Walk(static_cast<const RegKeyNode&>(root), path));
}
}  // namespace

void FileRegistryStore::Tell(const std::string& text) {
  if (told_.insert(text).second) ShowNotice(text);
}

bool FileRegistryStore::SetAside(std::int32_t root, const std::string& why) {
  const std::filesystem::path file = FollowLink(HiveFile(root));
  std::error_code error;
  const std::string target = SetFileAside(file.string(), error);
  if (!error) {
    ::chmod(target.c_str(), 0600);  // settings are the user's alone, also those set aside
    FlushFolder(file.parent_path());
    unmovable_.erase(root);
    Tell("The settings could not be read and the defaults are used. The file was renamed to \"" + target + "\" (" +
         why + ").");
    return true;
  }
  unmovable_.insert(root);
  Tell(std::string(kReadFailed) + "The file \"" + file.string() + "\" is left as it is (" + why +
       "; it could not be renamed: " + std::strerror(error.value()) + ").");
  return false;
}

RegResult FileRegistryStore::LoadLocked(std::int32_t root) {
  const std::filesystem::path file = HiveFile(root);
  std::string text;
  FileStamp stamp;
  int error = 0;
  Loaded& loaded = loaded_[root];
  switch (ReadWholeFile(file, loaded.present ? &loaded.stamp : nullptr, &text, &stamp, &error)) {
    case ReadOutcome::kAbsent:
      loaded = Loaded{};
      unmovable_.erase(root);
      return ERROR_SUCCESS;
    case ReadOutcome::kFailed:
      loaded_.erase(root);
      Tell(std::string(kReadFailed) + "The file \"" + file.string() + "\" cannot be opened (" + std::strerror(error) +
           ").");
      return FromErrno(error);
    case ReadOutcome::kNotAFile:
      loaded_.erase(root);
      Tell(std::string(kReadFailed) + "\"" + file.string() + "\" is not a regular file and is left alone.");
      return ERROR_ACCESS_DENIED;
    case ReadOutcome::kUnchanged: return ERROR_SUCCESS;
    case ReadOutcome::kTooLarge: loaded = Loaded{}; return SetAside(root, TooLargeWhy()) ? ERROR_SUCCESS : ERROR_BADDB;
    case ReadOutcome::kRead: break;
  }
  std::string why;
  auto parsed = ParseRegFile(text, RootName(root), &why);
  if (!parsed) {
    loaded = Loaded{};
    return SetAside(root, why) ? ERROR_SUCCESS : ERROR_BADDB;
  }
  loaded.present = true;
  loaded.stamp = stamp;
  loaded.tree = std::move(*parsed);
  return ERROR_SUCCESS;
}

const RegKeyNode& FileRegistryStore::Read(std::int32_t root) {
  const std::filesystem::path file = HiveFile(root);
  std::string text;
  FileStamp stamp;
  int error = 0;
  Loaded& loaded = loaded_[root];
  bool tooLarge = false;
  switch (ReadWholeFile(file, loaded.present ? &loaded.stamp : nullptr, &text, &stamp, &error)) {
    case ReadOutcome::kAbsent: loaded = Loaded{}; return loaded.tree;
    case ReadOutcome::kFailed:
    case ReadOutcome::kNotAFile:
      loaded = Loaded{};
      LoadLocked(root);  // says why, once
      loaded_[root] = Loaded{};
      return loaded_[root].tree;
    case ReadOutcome::kUnchanged: return loaded.tree;
    case ReadOutcome::kTooLarge: tooLarge = true; break;
    case ReadOutcome::kRead: break;
  }
  auto parsed = tooLarge ? std::nullopt : ParseRegFile(text, RootName(root));
  if (parsed) {
    loaded.present = true;
    loaded.stamp = stamp;
    loaded.tree = std::move(*parsed);
    return loaded.tree;
  }
  // Unreadable: look again under the lock (another copy may be replacing it),
  // then set it aside.
  std::unique_ptr<FileLock> lock;
  const RegResult lockError = TakeLock(root, &lock);
  if (lock) {
    LoadLocked(root);
  } else if (lockError == ERROR_LOCK_VIOLATION) {
    // Another copy holds the lock: leave the file to it and use the defaults for now.
  } else if (unmovable_.count(root) == 0) {
    std::string why = TooLargeWhy();
    if (!tooLarge) ParseRegFile(text, RootName(root), &why);
    SetAside(root, why);
  }
  if (!loaded_[root].present) loaded_[root] = Loaded{};
  return loaded_[root].tree;
}

RegResult FileRegistryStore::EnsureWritableFolder() {
  std::error_code ec;
  if (!std::filesystem::is_directory(folder_, ec)) {
    const bool made = std::filesystem::create_directories(folder_, ec);
    if (ec) return CannotWriteFolder(ec.value());
    if (made) ::chmod(folder_.c_str(), 0700);
  }
  if (::access(folder_.c_str(), W_OK | X_OK) != 0) return CannotWriteFolder(errno);
  return ERROR_SUCCESS;
}

RegResult FileRegistryStore::CannotWriteFolder(int error) {
  Tell("The settings were not saved: the folder \"" + folder_.string() + "\" cannot be written (" +
       std::strerror(error) + ").");
  return FromErrno(error);
}

template <class Change>
RegResult FileRegistryStore::Transact(std::int32_t root, Change change) {
  RegResult result = EnsureWritableFolder();
  if (result != ERROR_SUCCESS) return result;
  std::unique_ptr<FileLock> lock;
  result = TakeLock(root, &lock);
  if (!lock) return result;
  result = LoadLocked(root);
  if (result != ERROR_SUCCESS) return result;
  bool changed = false;
  result = change(loaded_[root].tree, changed);
  if (result != ERROR_SUCCESS || !changed) {
    if (changed) loaded_.erase(root);
    return result;
  }
  result = Save(root, loaded_[root].tree);
  if (result != ERROR_SUCCESS) loaded_.erase(root);  // the file on disk is what holds
  return result;
}

RegResult FileRegistryStore::TakeLock(std::int32_t root, std::unique_ptr<FileLock>* lock) {
  // All waits for a lock another program keeps share LockWait(): start-up
  // reads the settings several times and closing saves several values, and
  // neither may wait longer than that in all. After a quiet spell the whole
  // wait is there again for the next round of saves.
  const auto now = std::chrono::steady_clock::now();
  if (lock_budget_ < lock_wait_ && now - lock_given_up_at_ > 5 * lock_wait_) lock_budget_ = lock_wait_;
  const LockAttempt attempt{lock_budget_, lock_budget_ == lock_wait_};
  const std::string lockFile = HiveFile(root).string() + ".lock";
  const RegResult result = writer_->Lock(lockFile, attempt, lock);
  if (result == ERROR_SUCCESS) {
    lock_budget_ = lock_wait_;
  } else if (result == ERROR_LOCK_VIOLATION) {
    lock_budget_ -= attempt.limit;  // the writer waited all of it
    lock_given_up_at_ = std::chrono::steady_clock::now();
    Tell("The settings were not saved: another program kept the settings file \"" + HiveFile(root).string() +
         "\" locked. The file is left as it was.");
  } else {
    const char* why = result == ERROR_DISK_FULL ? "the disk is full or has no room for another file"
                                                : "a folder or a file of another user may stand in its place";
    Tell("The settings were not saved: their lock file \"" + lockFile + "\" cannot be opened or created (" + why +
         "). The settings file is left as it was.");
  }
  return result;
}

RegResult FileRegistryStore::Save(std::int32_t root, const RegKeyNode& tree) {
  const std::filesystem::path file = FollowLink(HiveFile(root));
  // The writer would replace a read-only file (the rename needs only the
  // folder's rights): the user meant to keep it as it is.
  if (IsReadOnly(file)) {
    Tell("The settings were not saved: the settings file \"" + file.string() +
         "\" is read-only and was left unchanged.");
    return ERROR_ACCESS_DENIED;
  }
  std::string text;
  try {
    text = WriteRegFile(tree, RootName(root));
  } catch (const std::bad_alloc&) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
  FileStamp stamp;
  const int error = writer_->Replace(file, text, &stamp);
  if (error != 0) {
    const std::filesystem::path hive = HiveFile(root);
    Tell(file == hive ? "The settings were not saved to \"" + file.string() + "\" (" + std::strerror(error) + ")."
                      : "The settings were not saved: \"" + hive.string() + "\" is a link to \"" + file.string() +
                            "\", which cannot be written (" + std::strerror(error) + ").");
    return FromErrno(error);
  }
  // What was just written need not be read back.
  Loaded& loaded = loaded_[root];
  loaded.present = true;
  loaded.stamp = stamp;
  return ERROR_SUCCESS;
}

RegResult FileRegistryStore::OpenKey(HKey key, std::string_view subKey, std::uint32_t access, HKey* result) {
  std::lock_guard lock(mutex_);
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = 0;
  Location where;
  RegResult r = Resolve(key, subKey, &where);
  if (r != ERROR_SUCCESS) return r;
  if (Walk(Read(where.root), where.path) == nullptr) {
    if (!IsRootHandle(key) && Walk(Read(where.root), handles_[key].where.path) == nullptr) return ERROR_KEY_DELETED;
    return ERROR_FILE_NOT_FOUND;
  }
  *result = NewHandle(std::move(where), access);
  return ERROR_SUCCESS;
}

RegResult FileRegistryStore::CreateKey(HKey key, std::string_view subKey, std::uint32_t access, HKey* result,
                                       bool* created) {
  std::lock_guard lock(mutex_);
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = 0;
  if (created != nullptr) *created = false;
  Location where;
  RegResult r = Resolve(key, subKey, &where);
  if (r != ERROR_SUCCESS) return r;
  for (const auto& part : where.path) {
    if (!IsValidName(part, kMaxKeyPart)) return ERROR_INVALID_PARAMETER;
  }
  const std::size_t baseDepth = IsRootHandle(key) ? 0 : handles_[key].where.path.size();
  r = EnsureWritableFolder();
  if (r != ERROR_SUCCESS) return r;
  bool made = false;
  if (Walk(Read(where.root), where.path) == nullptr) {
    r = Transact(where.root, [&](RegKeyNode& tree, bool& changed) -> RegResult {
      const std::vector<std::string> base(where.path.begin(), where.path.begin() + static_cast<long>(baseDepth));
      RegKeyNode* node = Walk(tree, base);
      if (node == nullptr) return ERROR_KEY_DELETED;
      for (std::size_t i = baseDepth; i < where.path.size(); ++i) {
        RegKeyNode* next = node->FindSubKey(where.path[i]);
        if (next == nullptr) {
          next = &node->SubKey(where.path[i]);
          changed = true;
        }
        node = next;
      }
      made = changed;
      return ERROR_SUCCESS;
    });
    if (r != ERROR_SUCCESS) return r;
  }
  if (created != nullptr) *created = made;
  *result = NewHandle(std::move(where), access);
  return ERROR_SUCCESS;
}

RegResult FileRegistryStore::CloseKey(HKey key) {
  std::lock_guard lock(mutex_);
  if (IsRootHandle(key)) return ERROR_SUCCESS;
  auto it = handles_.find(key);
  if (it == handles_.end()) return ERROR_INVALID_HANDLE;
  const RegResult failed = it->second.failed_save;
  handles_.erase(it);
  return failed;
}

RegResult FileRegistryStore::QueryValue(HKey key, std::string_view name, std::uint32_t* type, std::uint8_t* data,
                                        std::uint32_t* size) {
  std::lock_guard lock(mutex_);
  Location where;
  RegResult r = Handle(key, KEY_QUERY_VALUE, &where);
  if (r != ERROR_SUCCESS) return r;
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  const RegKeyNode* node = Walk(Read(where.root), where.path);
  if (node == nullptr) return ERROR_KEY_DELETED;
  const RegValueData* value = node->FindValue(name);
  if (value == nullptr) return ERROR_FILE_NOT_FOUND;
  if (type != nullptr) *type = value->type;
  const auto length = static_cast<std::uint32_t>(value->data.size());
  if (data != nullptr) {
    if (*size < length) {
      *size = length;
      return ERROR_MORE_DATA;
    }
    std::memcpy(data, value->data.data(), length);
  }
  if (size != nullptr) *size = length;
  return ERROR_SUCCESS;
}

RegResult FileRegistryStore::SetValue(HKey key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                                      std::uint32_t size) {
  std::lock_guard lock(mutex_);
  Location where;
  OpenHandle* open = nullptr;
  RegResult r = Handle(key, KEY_SET_VALUE, &where, &open);
  if (r != ERROR_SUCCESS) return r;
  if (!IsValidName(name, kMaxValueName) || (data == nullptr && size > 0) || size > kMaxValueBytes) {
    return ERROR_INVALID_PARAMETER;
  }
  std::string bytes(reinterpret_cast<const char*>(data), size);
  r = Transact(where.root, [&](RegKeyNode& tree, bool& changed) -> RegResult {
    RegKeyNode* node = Walk(tree, where.path);
    if (node == nullptr) return ERROR_KEY_DELETED;
    const RegValueData* old = node->FindValue(name);
    if (old != nullptr && old->type == type && old->data == bytes) return ERROR_SUCCESS;
    node->SetValue(name, type, std::move(bytes));
    changed = true;
    return ERROR_SUCCESS;
  });
  if (r != ERROR_SUCCESS && open != nullptr && open->failed_save == ERROR_SUCCESS) open->failed_save = r;
  return r;
}

RegResult FileRegistryStore::DeleteKey(HKey key, std::string_view subKey) {
  std::lock_guard lock(mutex_);
  Location where;
  RegResult r = Resolve(key, subKey, &where);
  if (r != ERROR_SUCCESS) return r;
  if (where.path.empty()) return ERROR_ACCESS_DENIED;
  if (Walk(Read(where.root), where.path) == nullptr) return ERROR_FILE_NOT_FOUND;
  return Transact(where.root, [&](RegKeyNode& tree, bool& changed) -> RegResult {
    const std::vector<std::string> parentPath(where.path.begin(), where.path.end() - 1);
    RegKeyNode* parent = Walk(tree, parentPath);
    RegKeyNode* node = parent == nullptr ? nullptr : parent->FindSubKey(where.path.back());
    if (node == nullptr) return ERROR_FILE_NOT_FOUND;
    if (!node->sub_keys.empty()) return ERROR_ACCESS_DENIED;
    parent->RemoveSubKey(where.path.back());
    changed = true;
    return ERROR_SUCCESS;
  });
}

RegResult FileRegistryStore::DeleteValue(HKey key, std::string_view name) {
  std::lock_guard lock(mutex_);
  Location where;
  OpenHandle* open = nullptr;
  RegResult r = Handle(key, KEY_SET_VALUE, &where, &open);
  if (r != ERROR_SUCCESS) return r;
  const RegKeyNode* node = Walk(Read(where.root), where.path);
  if (node == nullptr) return ERROR_KEY_DELETED;
  if (node->FindValue(name) == nullptr) return ERROR_FILE_NOT_FOUND;
  r = Transact(where.root, [&](RegKeyNode& tree, bool& changed) -> RegResult {
    RegKeyNode* n = Walk(tree, where.path);
    if (n == nullptr) return ERROR_KEY_DELETED;
    if (!n->RemoveValue(name)) return ERROR_FILE_NOT_FOUND;
    changed = true;
    return ERROR_SUCCESS;
  });
  if (r != ERROR_SUCCESS && r != ERROR_FILE_NOT_FOUND && open != nullptr && open->failed_save == ERROR_SUCCESS) {
    open->failed_save = r;
  }
  return r;
}

RegResult FileRegistryStore::QueryInfoKey(HKey key, KeyInfo* info) {
  std::lock_guard lock(mutex_);
  Location where;
  RegResult r = Handle(key, KEY_QUERY_VALUE, &where);
  if (r != ERROR_SUCCESS) return r;
  if (info == nullptr) return ERROR_INVALID_PARAMETER;
  const RegKeyNode* node = Walk(Read(where.root), where.path);
  if (node == nullptr) return ERROR_KEY_DELETED;
  *info = KeyInfo{};
  info->sub_keys = static_cast<std::uint32_t>(node->sub_keys.size());
  info->values = static_cast<std::uint32_t>(node->values.size());
  for (const auto& sub : node->sub_keys) {
    info->max_sub_key_len = std::max(info->max_sub_key_len, static_cast<std::uint32_t>(sub->name.size()));
  }
  for (const auto& v : node->values) {
    info->max_value_name_len = std::max(info->max_value_name_len, static_cast<std::uint32_t>(v.name.size()));
    info->max_value_len = std::max(info->max_value_len, static_cast<std::uint32_t>(v.data.size()));
  }
  return ERROR_SUCCESS;
}

RegResult FileRegistryStore::EnumValue(HKey key, std::uint32_t index, char* name, std::uint32_t* nameLen) {
  std::lock_guard lock(mutex_);
  Location where;
  RegResult r = Handle(key, KEY_QUERY_VALUE, &where);
  if (r != ERROR_SUCCESS) return r;
  const RegKeyNode* node = Walk(Read(where.root), where.path);
  if (node == nullptr) return ERROR_KEY_DELETED;
  if (index >= node->values.size()) return ERROR_NO_MORE_ITEMS;
  if (name == nullptr || nameLen == nullptr) return ERROR_INVALID_PARAMETER;
  const std::string& text = node->values[index].name;
  if (*nameLen <= text.size()) return ERROR_MORE_DATA;
  std::memcpy(name, text.data(), text.size());
  name[text.size()] = '\0';
  *nameLen = static_cast<std::uint32_t>(text.size());
  return ERROR_SUCCESS;
}

RegResult FileRegistryStore::EnumKey(HKey key, std::uint32_t index, char* name, std::uint32_t nameSize) {
  std::lock_guard lock(mutex_);
  Location where;
  RegResult r = Handle(key, KEY_ENUMERATE_SUB_KEYS, &where);
  if (r != ERROR_SUCCESS) return r;
  const RegKeyNode* node = Walk(Read(where.root), where.path);
  if (node == nullptr) return ERROR_KEY_DELETED;
  if (index >= node->sub_keys.size()) return ERROR_NO_MORE_ITEMS;
  if (name == nullptr) return ERROR_INVALID_PARAMETER;
  const std::string& text = node->sub_keys[index]->name;
  if (nameSize <= text.size()) return ERROR_MORE_DATA;
  std::memcpy(name, text.data(), text.size());
  name[text.size()] = '\0';
  return ERROR_SUCCESS;
}

}  // namespace serenitap::settings
