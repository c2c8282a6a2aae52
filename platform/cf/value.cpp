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

bool isValidUTF8(const std::string& text) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        uint32_t cp = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            cp = lead & 0x07;
        } else {
            return false;
        }
        if (n - i <= extra) {
            return false;
        }
        for (size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (next & 0x3F);
        }
        static constexpr uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

}  // namespace t48::cf
