#pragma once

#include <compare>
#include <cstddef>
#include <iterator>
#include <memory>
#include <vector>

class CDrawObj;

// The objects a map owns, seen as plain pointers in their order: a read-only random-access
// range over the document's list (size, indexing, iteration), valid while the list does not
// change.
class ObjectListView {
    using Owned = std::vector<std::unique_ptr<CDrawObj>>;

public:
    class iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using iterator_concept = std::random_access_iterator_tag;
        using value_type = CDrawObj*;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = CDrawObj*;

        iterator() = default;
        explicit iterator(Owned::const_iterator at) : at_(at) {}

        CDrawObj* operator*() const { return at_->get(); }
        CDrawObj* operator[](difference_type n) const { return at_[n].get(); }
        iterator& operator++() { return ++at_, *this; }
        iterator operator++(int) { return iterator(at_++); }
        iterator& operator--() { return --at_, *this; }
        iterator operator--(int) { return iterator(at_--); }
        iterator& operator+=(difference_type n) { return at_ += n, *this; }
        iterator& operator-=(difference_type n) { return at_ -= n, *this; }
        friend iterator operator+(iterator i, difference_type n) { return i += n; }
        friend iterator operator+(difference_type n, iterator i) { return i += n; }
        friend iterator operator-(iterator i, difference_type n) { return i -= n; }
        friend difference_type operator-(const iterator& a, const iterator& b)
        {
            return a.at_ - b.at_;
        }
        friend bool operator==(const iterator& a, const iterator& b) { return a.at_ == b.at_; }
        friend std::strong_ordering operator<=>(const iterator& a, const iterator& b)
        {
            return a.at_ - b.at_ <=> 0;
        }

    private:
        Owned::const_iterator at_;
    };

    explicit ObjectListView(const Owned& objects) : objects_(&objects) {}

    iterator begin() const { return iterator(objects_->begin()); }
    iterator end() const { return iterator(objects_->end()); }
    size_t size() const { return objects_->size(); }
    bool empty() const { return objects_->empty(); }
    CDrawObj* operator[](size_t i) const { return (*objects_)[i].get(); }
    CDrawObj* front() const { return objects_->front().get(); }
    CDrawObj* back() const { return objects_->back().get(); }

private:
    const Owned* objects_;
};
