#include "minihost/model/matrix4.h"

#include <cmath>

namespace minihost {

A_Matrix4 identityMatrix4() {
    A_Matrix4 m{};
    for (int i = 0; i < 4; ++i) {
        m.mat[i][i] = 1.0;
    }
    return m;
}

A_Matrix4 multiply(const A_Matrix4& a, const A_Matrix4& b) {
    A_Matrix4 r{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            double s = 0.0;
            for (int k = 0; k < 4; ++k) {
                s += a.mat[i][k] * b.mat[k][j];
            }
            r.mat[i][j] = s;
        }
    }
    return r;
}

A_Matrix4 layerMatrix(A_FloatPoint anchor, A_FloatPoint scale, double rotation_radians, A_FloatPoint position) {
    A_Matrix4 to_anchor = identityMatrix4();
    to_anchor.mat[3][0] = -anchor.x;
    to_anchor.mat[3][1] = -anchor.y;
    A_Matrix4 s = identityMatrix4();
    s.mat[0][0] = scale.x;
    s.mat[1][1] = scale.y;
    A_Matrix4 r = identityMatrix4();
    const double c = std::cos(rotation_radians);
    const double n = std::sin(rotation_radians);
    r.mat[0][0] = c;
    r.mat[0][1] = n;
    r.mat[1][0] = -n;
    r.mat[1][1] = c;
    A_Matrix4 t = identityMatrix4();
    t.mat[3][0] = position.x;
    t.mat[3][1] = position.y;
    return multiply(multiply(multiply(to_anchor, s), r), t);
}

namespace {

struct V3 {
    double x, y, z;
};
double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 sub(V3 a, V3 b, double f) { return {a.x - b.x * f, a.y - b.y * f, a.z - b.z * f}; }
V3 scaled(V3 a, double f) { return {a.x * f, a.y * f, a.z * f}; }
V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

A_FloatPoint3 rotationOf(const V3 row[3]) {
    A_FloatPoint3 rot{};
    rot.y = std::asin(std::fmax(-1.0, std::fmin(1.0, -row[0].z)));
    if (std::cos(rot.y) > 1e-12) {
        rot.x = std::atan2(row[1].z, row[2].z);
        rot.z = std::atan2(row[0].y, row[0].x);
    } else {
        rot.x = std::atan2(-row[2].x, row[1].y);
        rot.z = 0.0;
    }
    return rot;
}

}  // namespace

A_Err decomposeMatrix4(const A_Matrix4& m, A_FloatPoint3* position, A_FloatPoint3* scale, A_FloatPoint3* shear,
                       A_FloatPoint3* rotation) {
    A_FloatPoint3 pos{m.mat[3][0], m.mat[3][1], m.mat[3][2]};
    A_FloatPoint3 sc{}, sh{}, rot{};
    V3 row[3];
    for (int i = 0; i < 3; ++i) {
        row[i] = {m.mat[i][0], m.mat[i][1], m.mat[i][2]};
    }
    bool finite = true;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            finite = finite && std::isfinite(m.mat[i][j]);
        }
    }
    if (!finite) {
        if (position != nullptr) *position = A_FloatPoint3{};
        if (scale != nullptr) *scale = A_FloatPoint3{};
        if (shear != nullptr) *shear = A_FloatPoint3{};
        if (rotation != nullptr) *rotation = A_FloatPoint3{};
        return A_Err_PARAMETER;
    }
    // Gram-Schmidt in the order x, y, z, collecting scale and shear.
    sc.x = std::sqrt(dot(row[0], row[0]));
    bool ok = sc.x > 0.0;
    if (ok) {
        row[0] = scaled(row[0], 1.0 / sc.x);
        sh.x = dot(row[0], row[1]);
        row[1] = sub(row[1], row[0], sh.x);
        sc.y = std::sqrt(dot(row[1], row[1]));
        ok = sc.y > 0.0;
    }
    if (ok) {
        row[1] = scaled(row[1], 1.0 / sc.y);
        sh.x /= sc.y;
        sh.y = dot(row[0], row[2]);
        row[2] = sub(row[2], row[0], sh.y);
        sh.z = dot(row[1], row[2]);
        row[2] = sub(row[2], row[1], sh.z);
        sc.z = std::sqrt(dot(row[2], row[2]));
        if (sc.z > 0.0) {
            row[2] = scaled(row[2], 1.0 / sc.z);
            sh.y /= sc.z;
            sh.z /= sc.z;
        } else {
            // A flat layer matrix: any unit z completes the frame.
            row[2] = cross(row[0], row[1]);
        }
        if (dot(row[0], cross(row[1], row[2])) < 0.0) {
            // Mirrored: flip x or y, whichever leaves less rotation about z.
            const double angle_if_x = std::fabs(std::atan2(-row[0].y, -row[0].x));
            const double angle_if_y = std::fabs(std::atan2(row[0].y, row[0].x));
            if (angle_if_x <= angle_if_y) {
                sc.x = -sc.x;
                row[0] = scaled(row[0], -1.0);
                sh.x = -sh.x;
                sh.y = -sh.y;
            } else {
                sc.y = -sc.y;
                row[1] = scaled(row[1], -1.0);
                sh.x = -sh.x;
                sh.z = -sh.z;
            }
        }
        rot = rotationOf(row);
        ok = std::isfinite(rot.x) && std::isfinite(rot.y) && std::isfinite(rot.z);
    }
    if (!ok) {
        // A layer scaled to nothing on x or y: each axis's scale is its
        // row's length (0 for the collapsed one), turned as the row that is
        // left says; no shear, no mirroring.
        const V3 x{m.mat[0][0], m.mat[0][1], m.mat[0][2]};
        const V3 y{m.mat[1][0], m.mat[1][1], m.mat[1][2]};
        const V3 z{m.mat[2][0], m.mat[2][1], m.mat[2][2]};
        sc = A_FloatPoint3{std::sqrt(dot(x, x)), std::sqrt(dot(y, y)), std::sqrt(dot(z, z))};
        sh = rot = A_FloatPoint3{};
        if (sc.x > 0.0) {
            rot.z = std::atan2(x.y, x.x);
        } else if (sc.y > 0.0) {
            rot.z = std::atan2(-y.x, y.y);
        }
        ok = std::isfinite(sc.x) && std::isfinite(sc.y) && std::isfinite(sc.z);
        if (!ok) {
            pos = sc = rot = A_FloatPoint3{};
        }
    }
    if (position != nullptr) *position = pos;
    if (scale != nullptr) *scale = sc;
    if (shear != nullptr) *shear = sh;
    if (rotation != nullptr) *rotation = rot;
    return ok ? A_Err_NONE : A_Err_PARAMETER;
}

}  // namespace minihost
