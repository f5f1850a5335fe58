// The parameters an effect declared, and the value of each over time.
//
// Index 0 is the effect's input layer; the host adds it before
// PF_Cmd_PARAMS_SETUP. add_param appends the effect's declarations after it,
// in call order. The host keeps its own copy of every declaration: the name,
// popup choice text and checkbox label are copied into host storage and the
// copy's pointers point there.
//
// A popup's choice text is the host's own buffer, handed to the effect in
// every definition: the effect may write new choices of at most the text's
// length, with their NUL, over it (the panel shows them at the next
// PF_UpdateParamUI). The bytes after the terminator hold a pattern, so a
// write beyond it is seen (overrunChoices).
//
// Values are stored as given (no clamping to the valid range), so tests can
// hand the effect values the panel would refuse. Sliders interpolate linearly
// between keyframes; popups and checkboxes hold. Reading is safe from several
// threads at once; changing values while frames render is not.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "AE_Effect.h"
#include "minihost/model/animated.h"

namespace minihost {

class Params {
public:
    Params();

    /// Parameters known, the input layer included.
    int count() const { return static_cast<int>(entries_.size()); }
    /// The declaration as the host keeps it (value field: the declared one).
    /// Throws std::out_of_range for an unknown index.
    const PF_ParamDef& definition(int index) const;
    /// The popup choice text ("A|B|C") now in the host's buffer, the
    /// checkbox label.
    std::string choices(int index) const;
    std::string checkboxLabel(int index) const;
    /// Index of the parameter with this disk ID, or -1.
    int indexOfDiskId(A_long disk_id) const;

    /// Sets a constant value (popups: the 1-based choice; checkboxes 0/1).
    /// Throws std::out_of_range for index 0 or an unknown index,
    /// std::invalid_argument for a parameter without a value (groups).
    void setValue(int index, double value);
    /// Animates the value; throws as setValue does, and
    /// std::invalid_argument for a parameter declared
    /// PF_ParamFlag_CANNOT_TIME_VARY or a bad keyframe list.
    void setKeyframes(int index, std::vector<Keyframe> keys);
    /// The value at a time in seconds of layer time.
    double valueAt(int index, double seconds) const;
    /// The definition with its value at that time, as checkout_param hands
    /// it out.
    PF_ParamDef definitionAt(int index, double seconds) const;

    // Host side.
    /// Forgets every declaration but the input layer.
    void reset();
    /// Appends a copy of def; answers what is wrong with it ("" if nothing).
    std::string append(const PF_ParamDef& def);
    /// Replaces a popup's stored choice text, as a host that keeps its own
    /// wording (a translated one, say) would hand it out. Throws
    /// std::out_of_range for an unknown index, std::invalid_argument for a
    /// parameter that is no popup or a text with another number of choices.
    void setChoices(int index, const std::string& text);
    /// Popups whose choice buffer was written beyond its terminator: flagged
    /// as long as those bytes stay overwritten.
    std::vector<int> overrunChoices() const;

private:
    // A popup's choice text: the declared text and its NUL, then the
    // pattern that shows a write beyond them.
    struct ChoiceBuffer {
        std::unique_ptr<char[]> bytes;
        std::size_t length = 0;  // without the NUL
    };
    struct Entry {
        PF_ParamDef def{};
        std::string label;  // checkbox label
        ChoiceBuffer choices;
        Animated value;
    };
    static ChoiceBuffer makeChoiceBuffer(const std::string& text);
    Entry& valueEntry(int index);
    const Entry& entry(int index) const;

    // Entries keep their addresses, so the copies' text pointers stay valid.
    std::vector<std::unique_ptr<Entry>> entries_;
};

/// True for parameter types that carry a value.
bool hasValue(PF_ParamType type);

}  // namespace minihost
