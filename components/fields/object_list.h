#pragma once

#include <string>
#include <vector>

#include "fields/exceptions.h"

namespace velmor::components {

// An ordered list of objects. While it owns its objects (as it does from creation) it frees every object
// that it removes or replaces, and all that remain when it is destroyed. Null entries are allowed.
template <class T>
class TObjectList {
  public:
    TObjectList() = default;
    TObjectList(const TObjectList&) = delete;
    TObjectList& operator=(const TObjectList&) = delete;
    ~TObjectList() { Clear(); }

    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool Value) { ownsObjects_ = Value; }

    int Count() const { return static_cast<int>(items_.size()); }

    // Appends Obj; the result is its index.
    int Add(T* Obj) {
        items_.push_back(Obj);
        return Count() - 1;
    }

    // Index may equal Count, which appends.
    void Insert(int Index, T* Obj) {
        checkIndex(Index, Count());
        items_.insert(items_.begin() + Index, Obj);
    }

    T* Items(int Index) const {
        checkIndex(Index, Count() - 1);
        return items_[static_cast<std::size_t>(Index)];
    }

    // When owning, the object that Obj replaces is freed first, then Obj is stored; storing the object that
    // is already there frees nothing.
    void SetItem(int Index, T* Obj) {
        checkIndex(Index, Count() - 1);
        T*& slot = items_[static_cast<std::size_t>(Index)];
        if (ownsObjects_ && slot != Obj) delete slot;
        slot = Obj;
    }

    int IndexOf(const T* Obj) const {
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (items_[i] == Obj) return static_cast<int>(i);
        }
        return -1;
    }

    // When owning, the object is freed first, then its entry is removed.
    void Delete(int Index) {
        checkIndex(Index, Count() - 1);
        if (ownsObjects_) delete items_[static_cast<std::size_t>(Index)];
        items_.erase(items_.begin() + Index);
    }

    // Frees the objects from the last to the first when owning, then empties the list.
    void Clear() {
        if (ownsObjects_) {
            for (auto item = items_.rbegin(); item != items_.rend(); ++item) delete *item;
        }
        items_.clear();
    }

  private:
    static void checkIndex(int Index, int Highest) {
        if (Index < 0 || Index > Highest) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    }

    std::vector<T*> items_;
    bool ownsObjects_ = true;
};

// Frees the list's objects from the last to the first, whether the list owns them or not, then the list.
template <class T>
void FreeListAndItems(TObjectList<T>* List) {
    if (List == nullptr) return;
    List->SetOwnsObjects(true);
    List->Clear();
    delete List;
}

}  // namespace velmor::components
