#include "value.hpp"

namespace t48::cf {

ValueRef Value::string(std::string text) {
    return ValueRef(new Value(std::move(text)));
}
ValueRef Value::integer(int64_t number) {
    return ValueRef(new Value(number));
}
ValueRef Value::real(double number) {
    return ValueRef(new Value(number));
}
ValueRef Value::boolean(bool flag) {
    return ValueRef(new Value(flag));
}
ValueRef Value::date(Date when) {
    return ValueRef(new Value(when));
}
ValueRef Value::data(Data bytes) {
    return ValueRef(new Value(std::move(bytes)));
}
ValueRef Value::array(Array items) {
    return ValueRef(new Value(std::move(items)));
}
ValueRef Value::dictionary(Dictionary entries) {
    return ValueRef(new Value(std::move(entries)));
}

ValueType Value::type() const {
    // Same order as the alternatives of Content.
    static constexpr ValueType kTypes[] = {
        ValueType::String, ValueType::Integer, ValueType::Real,  ValueType::Boolean,
        ValueType::Date,   ValueType::Data,    ValueType::Array, ValueType::Dictionary};
    return kTypes[content_.index()];
}

ValueRef Value::get(const std::string& key) const {
    const Dictionary* entries = asDictionary();
    if (entries == nullptr) {
        return nullptr;
    }
    auto found = entries->find(key);
    return found == entries->end() ? nullptr : found->second;
}

void Value::set(const std::string& key, ValueRef value) {
    if (Dictionary* entries = asDictionary()) {
        (*entries)[key] = std::move(value);
    }
}

ValueRef Value::deepCopy() const {
    if (const Array* items = asArray()) {
        Array copy;
        for (const ValueRef& item : *items) {
            copy.push_back(item ? item->deepCopy() : nullptr);
        }
        return array(std::move(copy));
    }
    if (const Dictionary* entries = asDictionary()) {
        Dictionary copy;
        for (const auto& [key, item] : *entries) {
            copy[key] = item ? item->deepCopy() : nullptr;
        }
        return dictionary(std::move(copy));
    }
    return ValueRef(new Value(content_));
}

}  // namespace t48::cf
