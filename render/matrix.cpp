#include "render/matrix.h"

void SetIdentityMatrix(PF_FloatMatrix& m) {
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            m.mat[r][c] = r == c ? 1.0 : 0.0;
        }
    }
}

void CCU_ConcatMatrix(const PF_FloatMatrix& src, PF_FloatMatrix& dst) {
    PF_FloatMatrix product;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            // Summed in this order so that results match to the last bit.
            product.mat[r][c] =
                dst.mat[r][0] * src.mat[0][c] + dst.mat[r][1] * src.mat[1][c] + dst.mat[r][2] * src.mat[2][c];
        }
    }
    dst = product;
}

void TranslateMatrix(PF_FloatMatrix& m, double x, double y) {
    PF_FloatMatrix translation;
    SetIdentityMatrix(translation);
    // Adding 0.0 turns -0.0 into +0.0.
    translation.mat[2][0] = x + 0.0;
    translation.mat[2][1] = y + 0.0;
    CCU_ConcatMatrix(translation, m);
}
