#include "fields/object_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace velmor::components {
namespace {

// Records its number in a shared log when it is freed, so a test sees what was freed and in which order.
// An optional probe runs just before, so a test can look at the list while the object is being freed.
class Tracked {
  public:
    Tracked(int number, std::vector<int>& freed) : number_(number), freed_(freed) {}
    ~Tracked() {
        if (probe_) probe_();
        freed_.push_back(number_);
    }
    void setProbe(std::function<void()> probe) { probe_ = std::move(probe); }

  private:
    int number_;
    std::vector<int>& freed_;
    std::function<void()> probe_;
};

TEST(ObjectList, AddInsertAndIndexOf) {
    std::vector<int> freed;
    TObjectList<Tracked> list;
    auto* a = new Tracked(1, freed);
    auto* b = new Tracked(2, freed);
    auto* c = new Tracked(3, freed);
    EXPECT_EQ(list.Add(a), 0);
    EXPECT_EQ(list.Add(b), 1);
    list.Insert(0, c);
    list.Insert(3, nullptr);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Items(0), c);
    EXPECT_EQ(list.Items(1), a);
    EXPECT_EQ(list.Items(3), nullptr);
    EXPECT_EQ(list.IndexOf(b), 2);
    Tracked outside(9, freed);
    EXPECT_EQ(list.IndexOf(&outside), -1);
}

TEST(ObjectList, IndexOutOfRangeIsListError) {
    std::vector<int> freed;
    TObjectList<Tracked> list;
    list.Add(new Tracked(1, freed));
    struct Case {
        const char* what;
        void (*call)(TObjectList<Tracked>&);
        const char* message;
    };
    const Case cases[] = {
        {"Items(-1)", [](TObjectList<Tracked>& l) { l.Items(-1); }, "List index out of bounds (-1)"},
        {"Items(Count)", [](TObjectList<Tracked>& l) { l.Items(1); }, "List index out of bounds (1)"},
        {"Insert beyond Count", [](TObjectList<Tracked>& l) { l.Insert(2, nullptr); }, "List index out of bounds (2)"},
        {"SetItem(Count)", [](TObjectList<Tracked>& l) { l.SetItem(1, nullptr); }, "List index out of bounds (1)"},
        {"Delete(-1)", [](TObjectList<Tracked>& l) { l.Delete(-1); }, "List index out of bounds (-1)"},
    };
    for (const Case& c : cases) {
        try {
            c.call(list);
            ADD_FAILURE() << c.what << " did not raise";
        } catch (const EListError& e) {
            EXPECT_EQ(e.message(), c.message) << c.what;
        }
    }
    EXPECT_EQ(list.Count(), 1);
    EXPECT_TRUE(freed.empty());
}

TEST(ObjectList, SetItemFreesOnlyAReplacedObject) {
    std::vector<int> freed;
    TObjectList<Tracked> list;
    auto* a = new Tracked(1, freed);
    list.Add(a);
    list.SetItem(0, a);
    EXPECT_TRUE(freed.empty());
    list.SetItem(0, new Tracked(2, freed));
    EXPECT_EQ(freed, std::vector<int>{1});
}

// The object is freed first and its entry changes after: while it is freed, the list still holds it where
// it was, with the same count.
TEST(ObjectList, FreesTheObjectBeforeItsEntryChanges) {
    std::vector<int> freed;
    std::vector<std::string> seen;
    TObjectList<Tracked> list;
    // The probe notes the count and the index at which the object being freed still stands.
    const auto watched = [&list, &seen](Tracked* object) {
        object->setProbe([&list, &seen, object] {
            seen.push_back(std::to_string(list.Count()) + "@" + std::to_string(list.IndexOf(object)));
        });
        return object;
    };
    list.Add(watched(new Tracked(1, freed)));
    list.Add(watched(new Tracked(2, freed)));
    list.Add(watched(new Tracked(3, freed)));
    list.SetItem(0, new Tracked(4, freed));
    list.Delete(1);
    list.Clear();
    EXPECT_EQ(freed, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(seen, (std::vector<std::string>{"3@0", "3@1", "2@1"}));
    EXPECT_EQ(list.Count(), 0);
}

TEST(ObjectList, DeleteFreesWhenOwning) {
    std::vector<int> freed;
    TObjectList<Tracked> list;
    list.Add(new Tracked(1, freed));
    list.Add(new Tracked(2, freed));
    list.Delete(0);
    EXPECT_EQ(freed, std::vector<int>{1});
    EXPECT_EQ(list.Count(), 1);

    Tracked kept(3, freed);
    list.SetOwnsObjects(false);
    list.Add(&kept);
    list.Delete(1);
    EXPECT_EQ(freed, std::vector<int>{1});
    list.SetOwnsObjects(true);
}

TEST(ObjectList, ClearAndDestructionFreeFromLastToFirst) {
    std::vector<int> freed;
    {
        TObjectList<Tracked> list;
        for (int i = 1; i <= 3; ++i) list.Add(new Tracked(i, freed));
        list.Clear();
        EXPECT_EQ(freed, (std::vector<int>{3, 2, 1}));
        EXPECT_EQ(list.Count(), 0);
        for (int i = 4; i <= 5; ++i) list.Add(new Tracked(i, freed));
    }
    EXPECT_EQ(freed, (std::vector<int>{3, 2, 1, 5, 4}));
}

TEST(ObjectList, NotOwningFreesNothing) {
    std::vector<int> freed;
    Tracked a(1, freed);
    {
        TObjectList<Tracked> list;
        list.SetOwnsObjects(false);
        list.Add(&a);
        list.SetItem(0, nullptr);
        list.Add(&a);
        list.Clear();
        list.Add(&a);
    }
    EXPECT_TRUE(freed.empty());
}

TEST(ObjectList, FreeListAndItemsFreesEvenUnownedObjects) {
    std::vector<int> freed;
    auto* list = new TObjectList<Tracked>;
    list->SetOwnsObjects(false);
    for (int i = 1; i <= 3; ++i) list->Add(new Tracked(i, freed));
    FreeListAndItems(list);
    EXPECT_EQ(freed, (std::vector<int>{3, 2, 1}));
    FreeListAndItems<Tracked>(nullptr);
}

}  // namespace
}  // namespace velmor::components
