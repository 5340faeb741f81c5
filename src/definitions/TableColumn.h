// An array of a definition table: owned while the table is built, or
// borrowed from a saved image of the table (a mapped file) when the table is
// read back from one. Either way it is read through one pointer, so a
// look-up costs the same.
#pragma once

#include <cstddef>
#include <span>
#include <utility>
#include <vector>

namespace bastion {

template <typename T>
class TableColumn {
public:
    TableColumn() = default;
    TableColumn(const TableColumn& other) : owned_(other.owned_) { Follow(other); }
    TableColumn(TableColumn&& other) noexcept : owned_(std::move(other.owned_)) {
        Follow(other);
        other.Clear();
    }
    TableColumn& operator=(TableColumn other) noexcept {
        owned_ = std::move(other.owned_);
        Follow(other);
        return *this;
    }

    const T& operator[](std::size_t i) const { return data_[i]; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const T* data() const { return data_; }
    const T* begin() const { return data_; }
    const T* end() const { return data_ + size_; }
    std::span<const T> View() const { return {data_, size_}; }
    // The memory it owns (none while borrowed).
    std::size_t capacity() const { return owned_.capacity(); }
    bool Borrowed() const { return owned_.empty() && size_ > 0; }

    // Building: each of these owns the array; a borrowed one is never
    // changed, only cleared or assigned anew.
    void assign(std::size_t count, const T& value) {
        owned_.assign(count, value);
        Own();
    }
    void push_back(const T& value) {
        owned_.push_back(value);
        Own();
    }
    T& Mutable(std::size_t i) { return owned_[i]; }
    void shrink_to_fit() {
        owned_.shrink_to_fit();
        Own();
    }
    // The owned array, leaving this empty.
    std::vector<T> Take() {
        std::vector<T> taken = std::move(owned_);
        Clear();
        return taken;
    }
    void Swap(std::vector<T>& other) {
        owned_.swap(other);
        Own();
    }
    void Clear() {
        owned_ = {};
        Own();
    }

    // Reads from bytes that outlive it (an image of the table).
    void Borrow(std::span<const T> view) {
        owned_ = {};
        data_ = view.data();
        size_ = view.size();
    }

private:
    void Own() {
        data_ = owned_.data();
        size_ = owned_.size();
    }
    // After owned_ was taken from other: point where other pointed, unless
    // other owned its array (then this owns it now).
    void Follow(const TableColumn& other) {
        if (other.Borrowed()) {
            data_ = other.data_;
            size_ = other.size_;
        } else {
            Own();
        }
    }

    std::vector<T> owned_;
    const T* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace bastion
