// Text classes: named text styles (font and size, colour, optional outline and drop shadow,
// alignment codes, vertical spacing) read from "Classes.dat" and looked up by id, and the generic
// parameter class they are built on.
//
// A class is one block "Class" whose entries are its parameters:
//     Class{
//     	id = "Title"
//     	TYPE = "TTEXTCLASS"
//     	rgb = "255,240,200,1.00000000,1.00000000"
//     	Outline = "90,40,20,1.00000000,1.00000000"
//     	shadow = "0.500000000,2.00000000,3.00000000,..."   (alpha, offset right, offset down)
//     	hAlign = 0
//     	vAlign = 0
//     	VSpace = 2.50000000
//     	Font = "#BDIR#fonts/DejaVuSans.ttf", 40
//     }
// Block and entry names compare without regard to case.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/data/BlockFile.h"
#include "engine/data/ValueTypes.h"
#include "platform/Font.h"

// One named entry of a class block: its upper-cased name and its values as text.
class TClassParameter {
public:
    std::string name;
    std::vector<std::string> data;

    // Value index; "", 0.0 or 0 past the last value.
    std::string GetString(int index) const;
    float GetFLoat(int index) const;
    int32_t GetInt(int index) const;
    // name + " = " + the values joined by ", ".
    std::string ToString() const;
    // Stores each value, trimmed, as value i of the entry `name` of block.
    void Save(const TBlockFilePtr& block) const;
};
using TClassParameterPtr = std::shared_ptr<TClassParameter>;

// A parameter of an entry: its values as text, its name upper-cased.
TClassParameterPtr CreateClassParameter(const TBlockFilePtr& entry);

// A class read from a block: its id and one parameter per entry, in file order.
class TClass {
public:
    virtual ~TClass() = default;

    std::string id;
    std::vector<TClassParameterPtr> Params;

    // A new array holding the same (shared) parameter objects.
    std::vector<TClassParameterPtr> CopyParams() const;
    // A plain class with id + "_Copy" and the same parameters; a text class copies its style.
    virtual std::shared_ptr<TClass> Copy() const;
    // The first parameter whose name equals `name` upper-cased; "", 0.0, 0 when none.
    std::string GetParamString(const std::string& name, int index) const;
    float GetParamFloat(const std::string& name, int index) const;
    int32_t GetParamInt(const std::string& name, int index) const;
    int ParamExist(const std::string& name) const;
    // Reads a kind's own keys; nothing for a plain class.
    virtual void Load(const TBlockFilePtr& block);
    // The generic form: id upper-cased, every entry a parameter.
    void LoadFromBlock(const TBlockFilePtr& block);
    // Appends a "CLASS" block of all parameters to parent (a text class writes its style).
    virtual void Save(const TBlockFilePtr& parent) const;

protected:
    const TClassParameter* FindParam(const std::string& name) const;
};
using TClassPtr = std::shared_ptr<TClass>;

class TTextClass;
using TTextClassPtr = std::shared_ptr<TTextClass>;

// A text style.
class TTextClass : public TClass {
public:
    TTextClass();

    std::string cFontUrl;  // font path as the file gives it (placeholders allowed)
    int32_t cFontSize = 0;
    TImageFontPtr Font;             // null: no font of its own
    std::shared_ptr<TRGB> OutLIne;  // null: no outline
    std::shared_ptr<TRGB> Rgb;      // white unless the file says otherwise
    std::shared_ptr<TDim> Shadow;   // x alpha, y offset right, w offset down; null: no shadow
    int32_t VAlign = 0;             // 0 middle, 1 top, 2 bottom
    int32_t HAlign = 0;             // 0 centre, 1 left, 2 right, 3 justified
    float VSpace = 0.0f;            // extra space between lines

    // The style used when none is named or found ("Def. Text Class" once registered).
    static TTextClassPtr DefaultClass;

    // A copy with id + "_copy" sharing the font; colours and shadow copied; no parameters.
    std::shared_ptr<TClass> Copy() const override;
    TTextClassPtr CopyTextClass() const;
    // The style's keys (after LoadFromBlock on the same block). The font is fetched through
    // the font manager, so equal files and sizes share one font.
    void Load(const TBlockFilePtr& block) override;
    // Appends the style's "Class" block to parent.
    void Save(const TBlockFilePtr& parent) const override;

    // Select the style's font (the default font when it has none) and measure. The font stays
    // selected.
    int GetWidth(const std::string& text) const;
    int GetHeight(const std::string& text) const;
    int GetTypeInt() const { return 1; }
    // " Is Font\n", " Is Outline\n", " Is RGB\n", " Is Shadow\n" for each part that is set.
    std::string ToString() const;
};

// The class registry: the styles of "Classes.dat", the default style and lookups by id.
class AppClassManager {
public:
    static inline std::vector<TClassPtr> Classes;          // loaded or added; what Save writes
    static inline std::vector<TTextClassPtr> TextClasses;  // what lookups by id search
    static inline std::vector<TClassPtr> ImageClasses;     // kept for its kind; nothing adds to it
    static inline std::string ClassListUrl;
    // Set when start-up found no class file (reported then): objects whose style is not found
    // take the default style without a line each.
    static inline bool ClassListMissing = false;

    // Names the default style "Def. Text Class" and puts it first in TextClasses.
    static void Init();
    // 1 when this very object is registered.
    static int isClass(const TClass* cls);
    static int isClass(const TClassPtr& cls) { return isClass(cls.get()); }
    // Writes Classes to ClassListUrl (the default "Classes.dat" when none was read).
    static void Save();
    // Reads the text classes of a class file; other kinds are skipped.
    static void LoadClasses(const std::string& url);
    static void AddTextClass(const TTextClassPtr& cls);
    // The first class whose id equals id without regard to case; null when none.
    static TClassPtr GetClass(const std::string& id);
    // The first text style whose id equals id without regard to case; null when none. The second
    // argument plays no part.
    static TTextClassPtr GetTextClass(const std::string& id, int n = 0);
    // Removes this object wherever it stands in the lists.
    static void RemoveClass(const TClass* cls);
    static void RemoveClass(const TClassPtr& cls) { RemoveClass(cls.get()); }

    // Empty lists, no path, a fresh default style (tests).
    static void Reset();
};

// Start-up step: the default style, then "Classes.dat" from the engine's data folder.
void AppInitClasses();
// A style built and registered from a generic class's parameters (colours alpha first,
// alignment as keywords).
TTextClassPtr CreateTextClassFromParams(const TClass& cls);
