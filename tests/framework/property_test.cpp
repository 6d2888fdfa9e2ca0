#include "log_capture.h"
#include "xml_text.h"

#include <framework/kproperty.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace Kelvo_lib;
using test_support::LogCapture;

// An object with one field per property kind.
struct Sample : kGameLeaf {
    bool b = false;
    bool flag = false;
    int i = 0;
    float f = 0.0f;
    kObject* link = nullptr;
    int align = 0;
    kUIPoint point;
    kUIRect rect;

    auto Fields() const {
        return std::tuple(b, flag, i, f, link, align, point.x, point.y, rect.x, rect.y, rect.w,
                          rect.h);
    }
};

template <class T, T Sample::*Field>
struct FieldAccessor : kPropertyValueAccessor<T> {
    T Read(kObject* o) override { return static_cast<Sample*>(o)->*Field; }
    void Write(kObject* o, T value) override { static_cast<Sample*>(o)->*Field = value; }
};

// One known object, id 1; anything else is id 0.
struct OneObjectMap : kPropertyObjectMap {
    int ObjectToId(kObject* object) override { return object == known ? 1 : 0; }
    kObject* IdToObject(int id) override { return id == 1 ? known : nullptr; }
    kObject* known = nullptr;
};

struct Properties {
    FieldAccessor<bool, &Sample::b> bAccess;
    FieldAccessor<bool, &Sample::flag> flagAccess;
    FieldAccessor<int, &Sample::i> iAccess;
    FieldAccessor<float, &Sample::f> fAccess;
    FieldAccessor<kObject*, &Sample::link> linkAccess;
    FieldAccessor<int, &Sample::align> alignAccess;
    FieldAccessor<kUIPoint, &Sample::point> pointAccess;
    FieldAccessor<kUIRect, &Sample::rect> rectAccess;
    std::vector<std::unique_ptr<kProperty>> all;

    Properties() {
        auto* align = new kPropertyEnum(&alignAccess, "align", 0);
        align->AddEntry("left", 1);
        align->AddEntry("right", 2);
        all.emplace_back(new kPropertyBool(&bAccess, "b", 0));
        all.emplace_back(new kPropertyFlag(&flagAccess, "flag", 0x10));
        all.emplace_back(new kPropertyInt(&iAccess, "i", 0));
        all.emplace_back(new kPropertyFloat(&fAccess, "f", 0));
        all.emplace_back(new kPropertyObject(&linkAccess, "link", 0));
        all.emplace_back(align);
        all.emplace_back(new kPropertyUIPoint(&pointAccess, "point", 0));
        all.emplace_back(new kPropertyUIRect(&rectAccess, "rect", 0));
    }

    // Each property in an element named after it.
    void Serialize(kXMLArchive& ar, Sample& sample, OneObjectMap& map) {
        kXMLNode root = ar.Root("sample");
        for (auto& property : all) {
            kXMLNode node = root.Child(property->GetName());
            property->XMLSerialize(&sample, map, node);
        }
    }
};

std::string SavedText(Sample& sample, OneObjectMap& map) {
    Properties properties;
    kXMLArchive out(XMLArchiveMode::save);
    properties.Serialize(out, sample, map);
    return test_support::WriteXmlText(out);
}

Sample Loaded(const std::string& text, OneObjectMap& map) {
    Properties properties;
    kXMLArchive in(XMLArchiveMode::load);
    EXPECT_TRUE(test_support::ReadXmlText(in, text)) << text;
    Sample sample;
    sample.i = sample.align = 99;
    properties.Serialize(in, sample, map);
    return sample;
}

TEST(PropertyTest, EveryKindComesBackFromItsText) {
    Sample other;
    OneObjectMap map;
    map.known = &other;
    Sample saved;
    saved.b = saved.flag = true;
    saved.i = -123456;
    saved.f = 0.1f;
    saved.link = &other;
    saved.align = 2;
    saved.point = {1.5f, -2.25f};
    saved.rect = {3.0f, 4.0f, 640.0f, 1e-3f};
    const std::string text = SavedText(saved, map);
    EXPECT_EQ(Loaded(text, map).Fields(), saved.Fields()) << text;
    for (const char* part : {"<b value=\"1\"", "<link id=\"1\"", "<align value=\"right\"",
                             "<rect x=\"3\" y=\"4\" w=\"640\" h=\"0.001\""}) {
        EXPECT_NE(text.find(part), std::string::npos) << part << " in " << text;
    }
}

TEST(PropertyTest, LoadingOddOrMissingAttributes) {
    OneObjectMap map;
    struct Case {
        const char* elements;
        bool b;
        int align;
        float pointY;
        int i;
    };
    const Case cases[] = {
        {R"(<b value="7"/><align value="LEFT"/><point x="1" y="2"/><i value="5"/>)", true, 1, 2.0f,
         5},
        {R"(<b/><align value="middle"/><point x="1"/><i value="five"/>)", false, 0, 0.0f, 0},
        {R"(<b value="0"/><align value=""/><point y="x"/>)", false, 0, 0.0f, 0},
    };
    for (const Case& c : cases) {
        LogCapture log;
        const Sample loaded = Loaded(std::string("<sample>") + c.elements + "</sample>", map);
        EXPECT_EQ(loaded.b, c.b) << c.elements;
        EXPECT_EQ(loaded.align, c.align) << c.elements;
        EXPECT_EQ(loaded.point.y, c.pointY) << c.elements;
        EXPECT_EQ(loaded.i, c.i) << c.elements;
        EXPECT_FALSE(log.lines.empty());
    }
}

TEST(PropertyTest, SavingAValueWithoutEntryOrIdWritesEmptyOrZero) {
    OneObjectMap map;
    Sample unknown;
    Sample saved;
    saved.align = 5;
    saved.link = &unknown;
    const std::string text = SavedText(saved, map);
    EXPECT_NE(text.find("<align value=\"\""), std::string::npos) << text;
    EXPECT_NE(text.find("<link id=\"0\""), std::string::npos) << text;
    EXPECT_EQ(Loaded(text, map).link, nullptr);
}

TEST(PropertyTest, KindsAreRegisteredUnderTheBaseProperty) {
    kClass* const kinds[] = {
        kPropertyBool::StaticClass(),    kPropertyFlag::StaticClass(),
        kPropertyInt::StaticClass(),     kPropertyFloat::StaticClass(),
        kPropertyObject::StaticClass(),  kPropertyEnum::StaticClass(),
        kPropertyUIPoint::StaticClass(), kPropertyUIRect::StaticClass(),
    };
    const kClass* base = kProperty::StaticClass();
    EXPECT_STREQ(base->m_className, "Kelvo_lib::kProperty");
    EXPECT_EQ(base->m_classConstructor, nullptr);
    EXPECT_EQ(base->m_superClass, kObject::StaticClass());
    for (kClass* kind : kinds) {
        EXPECT_NE(kind->m_classConstructor, nullptr);
        EXPECT_EQ(kind->m_superClass, base);
        EXPECT_EQ(kind->m_guid, kGUID::Null);
        EXPECT_EQ(std::string(kind->m_className).rfind("Kelvo_lib::kProperty", 0), 0u);
    }
}

TEST(PropertyTest, PropertyMadeByClassHasNoAccessorAndMovesNothing) {
    kClass* record = kPropertyUIRect::StaticClass();
    kObject* memory = kObject::Allocate(record, nullptr, nullptr);
    record->m_classConstructor(memory);
    auto* property = static_cast<kProperty*>(memory);
    EXPECT_STREQ(property->GetName(), "");
    EXPECT_EQ(property->GetFlags(), 0u);

    kXMLArchive in(XMLArchiveMode::load);
    ASSERT_TRUE(test_support::ReadXmlText(in, R"(<rect x="1" y="2" w="3" h="4"/>)"));
    kXMLNode node = in.Root("rect");
    OneObjectMap map;
    Sample sample;
    LogCapture log;
    property->XMLSerialize(&sample, map, node);
    EXPECT_EQ(sample.rect.w, 0.0f);
    EXPECT_TRUE(log.Contains("has no accessor"));
    delete property;
}

} // namespace
