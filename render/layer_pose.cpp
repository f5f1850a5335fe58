#include "render/layer_pose.h"

namespace {

PF_Err readFromWorldXform(const AEGP_SuiteHandler& suites, AEGP_LayerH layer, const A_Time& layer_time, PF_Err status,
                          layer_pose& pose) {
    A_Time comp_time{0, 1};
    A_Matrix4 xform{};
    A_FloatPoint3 position{};
    A_FloatPoint3 scale{};
    A_FloatPoint3 shear{};
    A_FloatPoint3 rotation{};
    if (status == PF_Err_NONE) {
        status = suites.LayerSuite14()->AEGP_ConvertLayerToCompTime(layer, &layer_time, &comp_time);
    }
    if (status == PF_Err_NONE) {
        status = suites.LayerSuite13()->AEGP_GetLayerToWorldXform(layer, &comp_time, &xform);
    }
    if (status == PF_Err_NONE) {
        status = suites.MathSuite1()->AEGP_MatrixDecompose4(&xform, &position, &scale, &shear, &rotation);
        if (status == PF_Err_NONE) {
            pose.position_x = position.x;
            pose.position_y = position.y;
            pose.scale_x = scale.x;
            pose.scale_y = scale.y;
        }
    }
    return status;
}

PF_Err readFromStreams(const AEGP_SuiteHandler& suites, AEGP_LayerH layer, const A_Time& layer_time, PF_Err status,
                       layer_pose& pose) {
    constexpr double kPercent = 0.01;
    AEGP_StreamVal2 value{};
    if (status == PF_Err_NONE) {
        status = suites.StreamSuite9()->AEGP_GetLayerStreamValue(
            layer, AEGP_LayerStream_SCALE, AEGP_LTimeMode_LayerTime, &layer_time, false, &value, nullptr);
        if (status == PF_Err_NONE) {
            pose.scale_x = value.two_d.x * kPercent;
            pose.scale_y = value.two_d.y * kPercent;
        }
    }
    if (status == PF_Err_NONE) {
        value = AEGP_StreamVal2{};
        status = suites.StreamSuite9()->AEGP_GetLayerStreamValue(
            layer, AEGP_LayerStream_POSITION, AEGP_LTimeMode_LayerTime, &layer_time, false, &value, nullptr);
        if (status == PF_Err_NONE) {
            pose.position_x = value.two_d.x;
            pose.position_y = value.two_d.y;
        }
    }
    return status;
}

}  // namespace

PF_Err readLayerPose(const PF_InData& in_data, const AEGP_SuiteHandler& suites, AEGP_LayerH layer,
                     const A_Time& layer_time, PF_Err status, layer_pose& pose) {
    if (in_data.version.minor >= kWorldXformMinorVersion) {
        return readFromWorldXform(suites, layer, layer_time, status, pose);
    }
    return readFromStreams(suites, layer, layer_time, status, pose);
}
