// SPDX-License-Identifier: Apache-2.0
// Symbols: ownership of the record and the units, destruction order, copies.
#include <markstore/Symbol.h>
#include <markstore/SymbolUnitKinds.h>

#include <pathalgo/PrimitiveAlgorithmPath.h>

#include "ModelTestSupport.h"

#include <memory>
#include <string>
#include <vector>

namespace HQ {
namespace {

using modeltest::SamePoints;

// A unit that writes its name into a log when destroyed.
class LoggingUnit : public CHQGS_SymbolUnit {
public:
    LoggingUnit(std::vector<std::string>* log, std::string name) : log_(log), name_(std::move(name)) {}
    ~LoggingUnit() override { log_->push_back(name_); }

private:
    std::vector<std::string>* log_;
    std::string name_;
};

CHQGS_SymbolCommAttr* NewRecord(int id, const std::string& name) {
    CHQGS_SymbolCommAttr* r = new CHQGS_SymbolCommAttr();
    r->ID = id;
    r->MarkName = name;
    r->MinY = -20;
    r->ExtraInt2 = 7;
    return r;
}

TEST(SymbolCommAttr, DefaultsAreZeroAndCopiesAreDeep) {
    const CHQGS_SymbolCommAttr d;
    const std::int32_t ints[] = {d.ID,   d.ConnectId, d.PosX, d.PosY,  d.MinX,      d.MinY,
                                 d.MaxX, d.MaxY,      d.PID,  d.LibID, d.ExtraInt1, d.ExtraInt2};
    for (std::int32_t v : ints) EXPECT_EQ(v, 0);
    const std::int16_t shorts[] = {d.ConnectLibID, d.Mirror, d.UnknownS, d.TextNum, d.Heading, d.MarkType};
    for (std::int16_t v : shorts) EXPECT_EQ(v, 0);
    EXPECT_TRUE(d.MarkName.empty());

    std::unique_ptr<CHQGS_SymbolCommAttr> r(NewRecord(3, "mark"));
    CHQGS_SymbolCommAttr copy(*r);
    CHQGS_SymbolCommAttr assigned;
    assigned = *r;
    r.reset();
    EXPECT_EQ(copy.ID, 3);
    EXPECT_EQ(copy.MarkName, "mark");
    EXPECT_EQ(assigned.MinY, -20);
    EXPECT_EQ(assigned.ExtraInt2, 7);
}

TEST(Symbol, DefaultSymbolIsEmpty) {
    const CHQGS_Symbol s;
    EXPECT_EQ(s.GetCommAttr(), nullptr);
    EXPECT_TRUE(s.GetUnits().empty());
    const CHQGS_Symbol n(nullptr);
    EXPECT_EQ(n.GetCommAttr(), nullptr);
}

TEST(Symbol, UnitsKeepTheirOrderAndTheAnsweredListIsACopy) {
    CHQGS_Symbol s(NewRecord(1, "a"));
    CHQGS_SymbolUnit* a = new CHQGS_SymbolUnitLine();
    CHQGS_SymbolUnit* b = new CHQGS_SymbolUnitText();
    CHQGS_SymbolUnit* c = new CHQGS_SymbolUnitRect();
    CHQGS_SymbolUnit* d = new CHQGS_SymbolUnitCombo();
    s.AddUnit(a);
    std::vector<CHQGS_SymbolUnit*> more = {b, c};
    s.AddUnits(more);
    EXPECT_EQ(more.size(), 2u) << "the list given to AddUnits is unchanged";
    s.AddUnit(d);
    std::vector<CHQGS_SymbolUnit*> got = s.GetUnits();
    EXPECT_EQ(got, (std::vector<CHQGS_SymbolUnit*>{a, b, c, d}));
    got.clear();
    EXPECT_EQ(s.GetUnits().size(), 4u);
}

TEST(Symbol, UnitsAreDestroyedFromLastToFirst) {
    std::vector<std::string> log;
    {
        CHQGS_Symbol s(NewRecord(1, "a"));
        s.AddUnit(new LoggingUnit(&log, "first"));
        s.AddUnit(nullptr);  // skipped at destruction
        std::vector<CHQGS_SymbolUnit*> two = {new LoggingUnit(&log, "second"),
                                              new LoggingUnit(&log, "third")};
        s.AddUnits(two);
        EXPECT_TRUE(log.empty());
    }
    EXPECT_EQ(log, (std::vector<std::string>{"third", "second", "first"}));
}

TEST(Symbol, SetCommAttrTable) {
    struct Case {
        const char* name;
        bool startWithRecord;
        bool sameRecord;
        bool setNull;
    };
    const Case cases[] = {
        {"replace a record", true, false, false},
        {"set the record it holds", true, true, false},
        {"set a record on an empty symbol", false, false, false},
        {"clear with null", true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CHQGS_Symbol s(c.startWithRecord ? NewRecord(1, "old") : nullptr);
        CHQGS_SymbolCommAttr* next =
            c.setNull ? nullptr : (c.sameRecord ? s.GetCommAttr() : NewRecord(2, "new"));
        s.SetCommAttr(next);
        EXPECT_EQ(s.GetCommAttr(), next);
        // The record must still be alive (ASan reports a use after free otherwise).
        if (next != nullptr) {
            EXPECT_EQ(next->MarkName, c.sameRecord ? "old" : "new");
        }
    }
}

TEST(Symbol, CopiesAreDeepAndOutliveTheOriginal) {
    std::unique_ptr<CHQGS_Symbol> original(new CHQGS_Symbol(NewRecord(5, "deep")));
    CHQGS_SymbolUnitLine* line = new CHQGS_SymbolUnitLine();
    line->SetVectexs({{0, 0}, {3, 4}});
    line->Init();
    original->AddUnit(line);
    CHQGS_SymbolUnitArc* arc =
        new CHQGS_SymbolUnitArc(CHQGS_SymbolUnitAttr(), {{0, 0}, {100, 100}, {150, 50}, {50, 150}});
    arc->Init();
    original->AddUnit(arc);
    CHQGS_SymbolUnitPicture* pic = new CHQGS_SymbolUnitPicture();
    pic->SetBufData("img", 3);
    original->AddUnit(pic);
    CHQGS_SymbolUnitText* text = new CHQGS_SymbolUnitText();
    text->SetText("label");
    original->AddUnit(text);
    original->AddUnit(nullptr);
    const std::vector<CHQ_Point2D> arcPts = arc->GetOriPts();

    CHQGS_Symbol copy(*original);
    CHQGS_Symbol assigned(NewRecord(9, "replaced"));
    assigned.AddUnit(new CHQGS_SymbolUnitRect());
    assigned = *original;
    EXPECT_NE(copy.GetCommAttr(), original->GetCommAttr());
    EXPECT_NE(copy.GetUnits()[0], original->GetUnits()[0]);
    original.reset();

    for (CHQGS_Symbol* s : {&copy, &assigned}) {
        ASSERT_NE(s->GetCommAttr(), nullptr);
        EXPECT_EQ(s->GetCommAttr()->ID, 5);
        EXPECT_EQ(s->GetCommAttr()->MarkName, "deep");
        const std::vector<CHQGS_SymbolUnit*> units = s->GetUnits();
        ASSERT_EQ(units.size(), 5u);
        // Each copy is of its unit's own kind.
        auto* l = dynamic_cast<CHQGS_SymbolUnitLine*>(units[0]);
        ASSERT_NE(l, nullptr);
        EXPECT_TRUE(SamePoints(l->GetVectexs(), {{0, 0}, {3, 4}}));
        EXPECT_DOUBLE_EQ(l->GetPainterPath()->Length(), 5.0);
        auto* a = dynamic_cast<CHQGS_SymbolUnitArc*>(units[1]);
        ASSERT_NE(a, nullptr);
        EXPECT_TRUE(SamePoints(a->GetOriPts(), arcPts));
        auto* p = dynamic_cast<CHQGS_SymbolUnitPicture*>(units[2]);
        ASSERT_NE(p, nullptr);
        ASSERT_EQ(p->GetBufSize(), 3);
        EXPECT_EQ(std::string(p->GetBufData(), 3), "img");
        auto* t = dynamic_cast<CHQGS_SymbolUnitText*>(units[3]);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->GetText(), "label");
        EXPECT_EQ(units[4], nullptr);
    }
}

TEST(Symbol, SelfAssignmentAndCopyOfAnEmptySymbol) {
    CHQGS_Symbol s(NewRecord(4, "self"));
    s.AddUnit(new CHQGS_SymbolUnitRect());
    CHQGS_Symbol& self = s;
    s = self;
    ASSERT_NE(s.GetCommAttr(), nullptr);
    EXPECT_EQ(s.GetCommAttr()->MarkName, "self");
    EXPECT_EQ(s.GetUnits().size(), 1u);

    const CHQGS_Symbol empty;
    CHQGS_Symbol copy(empty);
    EXPECT_EQ(copy.GetCommAttr(), nullptr);
    s = empty;
    EXPECT_EQ(s.GetCommAttr(), nullptr);
    EXPECT_TRUE(s.GetUnits().empty());
}

TEST(Symbol, UnknownUnitClassesAreCopiedAsTheirKnownBase) {
    // A host's own unit class: the copy keeps the data of the base it derives from.
    class HostLine : public CHQGS_SymbolUnitLine {};
    std::vector<std::string> log;  // outlives the symbol, whose unit logs into it
    CHQGS_Symbol s;
    HostLine* line = new HostLine();
    line->SetVectexs({{1, 2}});
    s.AddUnit(line);
    s.AddUnit(new LoggingUnit(&log, "x"));
    {
        CHQGS_Symbol copy(s);
        auto* l = dynamic_cast<CHQGS_SymbolUnitLine*>(copy.GetUnits()[0]);
        ASSERT_NE(l, nullptr);
        EXPECT_TRUE(SamePoints(l->GetVectexs(), {{1, 2}}));
        EXPECT_EQ(copy.GetUnits()[1]->GetType(), Unit_None);
    }
    EXPECT_TRUE(log.empty()) << "the copy must not destroy the original's units";
}

}  // namespace
}  // namespace HQ
