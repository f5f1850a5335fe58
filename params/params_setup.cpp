#include <cstring>

#include "AE_EffectCB.h"
#include "host/handlers.h"
#include "params/param_table.h"

namespace {

constexpr PF_ParamIndex kAppend = -1;  // add_param index that appends to the list

void fillDefinition(const ParamSpec& row, const PF_ANSICallbacks& ansi, PF_ParamDef& def) {
    // Whatever the record does not name stays zero, ui_flags and sizes included.
    std::memset(&def, 0, sizeof def);
    def.uu.id = row.disk_id;
    def.param_type = row.type;
    def.flags = row.flags;
    if (row.name != nullptr) {
        ansi.strcpy(def.name, row.name);
    }
    switch (row.type) {
        case PF_Param_FLOAT_SLIDER: {
            PF_FloatSliderDef& fs = def.u.fs_d;
            fs.value = row.dephault;
            fs.valid_min = row.valid.min;
            fs.valid_max = row.valid.max;
            fs.slider_min = row.slider.min;
            fs.slider_max = row.slider.max;
            fs.dephault = row.dephault;
            fs.precision = row.precision;
            fs.curve_tolerance = kCurveTolerance;
            break;
        }
        case PF_Param_POPUP: {
            PF_PopupDef& pd = def.u.pd;
            pd.value = row.choice;
            pd.num_choices = row.num_choices;
            pd.dephault = row.choice;
            pd.u.namesptr = row.choices;
            break;
        }
        case PF_Param_CHECKBOX: {
            PF_CheckBoxDef& bd = def.u.bd;
            bd.value = row.choice;
            bd.dephault = static_cast<PF_Boolean>(row.choice);
            bd.u.nameptr = row.label;
            break;
        }
        default:
            break;  // group starts and ends carry nothing in u
    }
}

}  // namespace

PF_Err ParamsSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* /*params*/[], PF_LayerDef* /*output*/) {
    // A host without these callbacks cannot take a declaration at all.
    if (in_data->inter.add_param == nullptr || in_data->utils == nullptr || in_data->utils->ansi.strcpy == nullptr) {
        return PF_Err_INVALID_CALLBACK;
    }
    PF_ParamDef def;
    for (const ParamSpec& row : kParamTable) {
        fillDefinition(row, in_data->utils->ansi, def);
        // The host copies the definition; what follows a refused one is not declared.
        const PF_Err err = in_data->inter.add_param(in_data->effect_ref, kAppend, &def);
        if (err != PF_Err_NONE) {
            return err;
        }
    }
    out_data->num_params = PARAM_NUM_PARAMS;
    return PF_Err_NONE;
}
