#include "kit/settings/c_registry.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "settings/registry_store.h"

namespace serenitap {
namespace {

namespace st = serenitap::settings;

std::string Decimal(std::int32_t n) { return std::to_string(n); }

std::string ExpandEnvStr(std::string_view text) { return st::ExpandEnvironmentText(text); }

// %X% qualifies; two adjacent percent signs do not.
bool NeedsExpandType(std::string_view text) noexcept {
  const std::size_t first = text.find('%');
  return first != std::string_view::npos && text.find('%', first + 2) != std::string_view::npos;
}

const std::uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const std::uint8_t*>(s.data()); }

}  // namespace

RegistryError::RegistryError(std::int32_t number, std::string source, const std::string& description,
                             std::source_location where)
    : RuntimeFailure(number, description, where), source_(std::move(source)) {}

std::string cRegistry::ErrorSource() { return st::ExecutableBaseName() + ".cRegistry"; }

std::string RegVariantText(const RegVariant& value) {
  struct Visitor {
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(std::int16_t n) const { return std::to_string(n); }
    std::string operator()(std::int32_t n) const { return std::to_string(n); }
    std::string operator()(const std::string& s) const { return s; }
    std::string operator()(const RegByteArray& b) const { return std::string(b.begin(), b.end()); }
  };
  return std::visit(Visitor{}, value);
}

std::int32_t SwapEndian(std::int32_t value) noexcept {
  std::uint8_t b[4];
  std::memcpy(b, &value, 4);
  std::swap(b[0], b[3]);
  std::swap(b[1], b[2]);
  std::int32_t out;
  std::memcpy(&out, b, 4);
  return out;
}

bool cRegistry::KeyExists() const {
  st::RegistryStore& store = st::CurrentStore();
  st::HKey key = 0;
  if (store.OpenKey(st::RootHandle(class_key_), section_key_, st::KEY_QUERY_VALUE, &key) != st::ERROR_SUCCESS) {
    return false;
  }
  store.CloseKey(key);
  return true;
}

bool cRegistry::CreateKey() {
  st::RegistryStore& store = st::CurrentStore();
  st::HKey key = 0;
  if (store.CreateKey(st::RootHandle(class_key_), section_key_, st::KEY_SIX_SPECIFIC_RIGHTS, &key) ==
      st::ERROR_SUCCESS) {
    store.CloseKey(key);
    return true;
  }
  throw RegistryError(kErrorNumber, ErrorSource(), "Failed to create registry Key: '" + section_key_);
}

bool cRegistry::DeleteKey() {
  if (st::CurrentStore().DeleteKey(st::RootHandle(class_key_), section_key_) == st::ERROR_SUCCESS) return true;
  throw RegistryError(kErrorNumber, ErrorSource(),
                      "Failed to delete registry Key: '" + Decimal(class_key_) + "',Section: '" + section_key_);
}

bool cRegistry::DeleteValue() {
  st::RegistryStore& store = st::CurrentStore();
  st::HKey key = 0;
  if (store.OpenKey(st::RootHandle(class_key_), section_key_, st::KEY_SIX_SPECIFIC_RIGHTS, &key) != st::ERROR_SUCCESS) {
    throw RegistryError(
        kErrorNumber, ErrorSource(),
        "Failed to open key '" + Decimal(class_key_) + "',Section: '" + section_key_ + "' for delete access");
  }
  if (store.DeleteValue(key, value_key_) != st::ERROR_SUCCESS) {
    store.CloseKey(key);
    throw RegistryError(kErrorNumber, ErrorSource(),
                        "Failed to delete registry Key: '" + Decimal(class_key_) + "',Section: '" + section_key_ +
                            "',Key: '" + value_key_);
  }
  store.CloseKey(key);
  return true;
}

RegVariant cRegistry::Value() {
  st::RegistryStore& store = st::CurrentStore();
  st::HKey key = 0;
  store.OpenKey(st::RootHandle(class_key_), section_key_, st::KEY_QUERY_VALUE, &key);
  ScopeExit close([&] { store.CloseKey(key); });
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  const st::RegResult found = store.QueryValue(key, value_key_, &type, nullptr, &size);
  if (found != st::ERROR_SUCCESS && found != st::ERROR_MORE_DATA) return default_;
  value_type_ = static_cast<std::int32_t>(type);
  switch (type) {
    case st::REG_SZ:
    case st::REG_EXPAND_SZ:
    case st::REG_MULTI_SZ: {
      // The stored terminating zero is dropped.
      std::string text(size, '\0');
      std::uint32_t length = size;
      store.QueryValue(key, value_key_, &type, reinterpret_cast<std::uint8_t*>(text.data()), &length);
      text.resize(size > 0 ? size - 1 : 0);
      text = store.DecodeText(text);
      if (type == st::REG_EXPAND_SZ) return ExpandEnvStr(text);
      return text;
    }
    case st::REG_DWORD:
    case st::REG_DWORD_BIG_ENDIAN: {
      std::uint8_t data[4] = {0, 0, 0, 0};
      std::uint32_t length = sizeof data;
      store.QueryValue(key, value_key_, &type, data, &length);
      std::int32_t n = 0;
      std::memcpy(&n, data, 4);  // the stored bytes are little-endian, as the machine's
      return type == st::REG_DWORD ? n : SwapEndian(n);
    }
    default: {
      // Indices 0 to size: the last element stays 0.
      RegByteArray bytes(static_cast<std::size_t>(size) + 1, 0);
      std::uint32_t length = size;
      store.QueryValue(key, value_key_, &type, bytes.data(), &length);
      return bytes;
    }
  }
}

void cRegistry::Value(const RegVariant& vValue) {
  st::RegistryStore& store = st::CurrentStore();
  auto description = [&] {
    return "Failed to set registry value Key: '" + Decimal(class_key_) + "',Section: '" + section_key_ + "',Key: '" +
           value_key_ + "' to value: '" + RegVariantText(vValue) + "'";
  };
  st::HKey key = 0;
  if (store.CreateKey(st::RootHandle(class_key_), section_key_, st::KEY_SIX_SPECIFIC_RIGHTS, &key) !=
      st::ERROR_SUCCESS) {
    throw RegistryError(kErrorNumber, ErrorSource(), description());
  }
  st::RegResult result = st::ERROR_SUCCESS;
  switch (value_type_) {
    case st::REG_SZ:
    case st::REG_EXPAND_SZ: {
      const std::string text = RegVariantText(vValue);
      const std::uint32_t type = NeedsExpandType(text) ? st::REG_EXPAND_SZ : st::REG_SZ;
      std::string data = store.EncodeText(text);
      data += '\0';
      result = store.SetValue(key, value_key_, type, Bytes(data), static_cast<std::uint32_t>(data.size()));
      break;
    }
    case st::REG_BINARY: {
      const auto* bytes = std::get_if<RegByteArray>(&vValue);
      if (bytes == nullptr) {
        store.CloseKey(key);
        throw RegistryError(kErrorNumber, ErrorSource(), "Application-defined or object-defined error");
      }
      result =
          store.SetValue(key, value_key_, st::REG_BINARY, bytes->data(), static_cast<std::uint32_t>(bytes->size()));
      break;
    }
    case st::REG_DWORD:
    case st::REG_DWORD_BIG_ENDIAN: {
      std::int32_t n = 0;
      if (const auto* i16 = std::get_if<std::int16_t>(&vValue)) {
        n = *i16;
      } else if (const auto* i32 = std::get_if<std::int32_t>(&vValue)) {
        n = *i32;
      } else {
        break;  // anything else writes nothing and is no error
      }
      const auto u = static_cast<std::uint32_t>(n);
      const std::uint8_t data[4] = {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
                                    static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
      result = store.SetValue(key, value_key_, st::REG_DWORD, data, sizeof data);
      break;
    }
    default: result = st::ERROR_INVALID_DATA; break;
  }
  store.CloseKey(key);
  if (result != st::ERROR_SUCCESS) throw RegistryError(kSetValueFailed, ErrorSource(), description());
}

bool cRegistry::EnumerateValues(std::vector<std::string>& sKeyNames, std::int32_t& iKeyCount) const {
  sKeyNames.clear();
  iKeyCount = 0;
  st::RegistryStore& store = st::CurrentStore();
  st::HKey key = 0;
  if (store.OpenKey(st::RootHandle(class_key_), section_key_, st::KEY_QUERY_VALUE, &key) != st::ERROR_SUCCESS) {
    return true;
  }
  ScopeExit close([&] { store.CloseKey(key); });
  st::KeyInfo info;
  if (store.QueryInfoKey(key, &info) != st::ERROR_SUCCESS) return true;
  st::RegResult result = st::ERROR_SUCCESS;
  for (std::uint32_t index = 0; result == st::ERROR_SUCCESS; ++index) {
    std::string buffer(std::max<std::uint32_t>(info.max_value_name_len + 1, 1), '\0');
    auto length = static_cast<std::uint32_t>(buffer.size());
    result = store.EnumValue(key, index, buffer.data(), &length);
    if (result == st::ERROR_SUCCESS) {
      sKeyNames.push_back(buffer.substr(0, length));
      ++iKeyCount;
    }
  }
  return true;
}

bool cRegistry::EnumerateSections(std::vector<std::string>& sSect, std::int32_t& iSectCount) const {
  try {
    sSect.clear();
    iSectCount = 0;
    st::RegistryStore& store = st::CurrentStore();
    st::HKey key = 0;
    if (store.OpenKey(st::RootHandle(class_key_), section_key_, st::KEY_ENUMERATE_SUB_KEYS, &key) !=
        st::ERROR_SUCCESS) {
      return true;
    }
    ScopeExit close([&] { store.CloseKey(key); });
    st::RegResult result = st::ERROR_SUCCESS;
    for (std::uint32_t index = 0; result == st::ERROR_SUCCESS; ++index) {
      std::string buffer(255, '\0');
      result = store.EnumKey(key, index, buffer.data(), static_cast<std::uint32_t>(buffer.size()));
      if (result == st::ERROR_SUCCESS) {
        const std::size_t end = buffer.find('\0');
        if (end != std::string::npos) buffer.resize(end);
        sSect.push_back(std::move(buffer));
        ++iSectCount;
      }
    }
    return true;
  } catch (...) {
    throw RegistryError(kEnumerateFailed, ErrorSource(), DescribeFailure(std::current_exception()).description);
  }
}

void cRegistry::CreateEXEAssociation(std::string_view sExePath, std::string_view sClassName,
                                     std::string_view sClassDescription, std::string_view sAssociation,
                                     std::int32_t lDefaultIconIndex) {
  const std::string command = std::string(sExePath) + " \"%1\"";
  ClassKey(settings::HKEY_CLASSES_ROOT);
  auto row = [&](std::string section, std::string value) {
    SectionKey(std::move(section));
    ValueKey("");
    Value(RegVariant(std::move(value)));
  };
  const std::string extension = std::string(".").append(sAssociation);
  row(extension, std::string(sClassName));
  row(extension + "\\shell\\open\\command", command);
  row(std::string(sClassName), std::string(sClassDescription));
  row(std::string(sClassName) + "\\shell\\open\\command", command);
  if (lDefaultIconIndex >= 0) {
    row(std::string(sClassName) + "\\DefaultIcon", std::string(sExePath) + "," + Decimal(lDefaultIconIndex));
  }
}

}  // namespace serenitap
