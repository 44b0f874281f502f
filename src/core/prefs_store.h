#pragma once
// The five registry operations the preferences need, behind one interface, so that the logic can
// run against the real registry or an in-memory stand-in with the same outcomes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Value types, with the registry's own numbers.
enum class TPrefsValueType : uint32_t { None = 0, String = 1, ExpandString = 2, Binary = 3, DWord = 4 };

inline constexpr size_t AllBytes = static_cast<size_t>(-1);

struct TStoredValue {
  TPrefsValueType Type = TPrefsValueType::None;
  std::string Data;  // the raw bytes, terminating zeros included as stored
};

class IPrefsStore {
public:
  virtual ~IPrefsStore() = default;

  // Opens the preferences key, which must exist, with full access. False: cannot be opened.
  virtual bool OpenKey() = 0;
  // Opens the key with full access, creating it and its missing parents. False: refused.
  virtual bool OpenOrCreateKey() = 0;
  // A value of the open key: its type and at most maxBytes of its data (AllBytes: the whole). Empty when the value does not exist,
  // no key is open or the read is refused. When the data is longer than maxBytes, Data holds
  // nothing and TooLong is set.
  struct TQueryResult {
    std::optional<TStoredValue> Value;
    bool TooLong = false;
  };
  virtual TQueryResult QueryValue(const std::string& name, size_t maxBytes) = 0;
  // Sets a value of the open key. False when no key is open or the store refuses.
  virtual bool SetValue(const std::string& name, const TStoredValue& value) = 0;
  // Closes the open key, if any.
  virtual void CloseKey() = 0;
};
