// Published properties by name, as text: the access the skin engine uses to read and write a
// control's properties without knowing its class (GetIntProp, GetEnumProp, GetPropText,
// SetPropText, GetObjectProp). Boolean properties read and write as the identifiers "True"
// and "False", as every enumeration does by its value names; a name the class does not publish
// reads as absent and is not written.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Classes.h"

namespace fw {

// The published property of obj with that name (any case); nullptr for a nil object.
const TPropInfo* FindPublishedProp(const TObject* obj, const std::string& name);

// The value identifiers of an enumeration ("blGlyphLeft", ...) or a Boolean ("False", "True")
// property, in ordinal order; empty for every other kind.
std::vector<std::string> PropValueNames(const TPropInfo& prop);

// An integer property's value; nullopt when absent, unreadable or of another kind.
std::optional<int64_t> GetIntProp(TObject* obj, const std::string& name);
// The identifier of an enumeration or Boolean property's value; empty when absent.
std::string GetEnumProp(TObject* obj, const std::string& name);
// Integer in decimal, enumeration and Boolean by identifier, string as it is, a set as its
// members' identifiers in brackets ("[btPlay,btStop]", "[]" when empty); empty when absent or of
// another kind.
std::wstring GetPropText(TObject* obj, const std::string& name);
// The object an object property holds (nullptr when absent).
TObject* GetObjectProp(TObject* obj, const std::string& name);

// Writes text into a property: integer from its decimal (or a named constant the setter knows,
// as "clBtnFace"), enumeration and Boolean by identifier (any case), string as it is. Returns
// false, writing nothing, for other kinds, read-only and absent properties, identifiers the
// property does not have and text that is neither a number nor a constant the setter knows.
bool SetPropText(TObject* obj, const std::string& name, const std::wstring& text);

}  // namespace fw
