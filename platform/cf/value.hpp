#pragma once
// Property-list values: strings, numbers, booleans, dates, data, arrays and dictionaries.
// Containers are mutable in place and shared by reference, so a change made through a
// dictionary held inside another is part of the outer one without a further store.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace t48::cf {

class Value;
using ValueRef = std::shared_ptr<Value>;
using Array = std::vector<ValueRef>;
using Dictionary = std::map<std::string, ValueRef>;

enum class ValueType { String, Integer, Real, Boolean, Date, Data, Array, Dictionary };

// Seconds since 2001-01-01 00:00:00 UTC, the property-list epoch.
struct Date {
    double seconds = 0;
};
using Data = std::vector<uint8_t>;

class Value {
public:
    static ValueRef string(std::string text);
    static ValueRef integer(int64_t number);
    static ValueRef real(double number);
    static ValueRef boolean(bool flag);
    static ValueRef date(Date when);
    static ValueRef data(Data bytes);
    static ValueRef array(Array items = {});
    static ValueRef dictionary(Dictionary entries = {});

    ValueType type() const;
    bool is(ValueType t) const { return type() == t; }

    // Each accessor answers only for its own type: null otherwise.
    const std::string* asString() const { return std::get_if<std::string>(&content_); }
    const int64_t* asInteger() const { return std::get_if<int64_t>(&content_); }
    const double* asReal() const { return std::get_if<double>(&content_); }
    const bool* asBoolean() const { return std::get_if<bool>(&content_); }
    const Date* asDate() const { return std::get_if<Date>(&content_); }
    const Data* asData() const { return std::get_if<Data>(&content_); }
    Array* asArray() { return std::get_if<Array>(&content_); }
    const Array* asArray() const { return std::get_if<Array>(&content_); }
    Dictionary* asDictionary() { return std::get_if<Dictionary>(&content_); }
    const Dictionary* asDictionary() const { return std::get_if<Dictionary>(&content_); }

    // Dictionary lookup: null when this is no dictionary or the key is absent.
    ValueRef get(const std::string& key) const;
    // Dictionary store; does nothing when this is no dictionary.
    void set(const std::string& key, ValueRef value);

    // A copy down to the leaves: no container is shared with the original.
    ValueRef deepCopy() const;

private:
    using Content = std::variant<std::string, int64_t, double, bool, Date, Data, Array, Dictionary>;
    explicit Value(Content content) : content_(std::move(content)) {}
    Content content_;
};

}  // namespace t48::cf
