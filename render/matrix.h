// 3 x 3 matrices for the host's transform_world: points are row vectors,
// (x, y, 1) times the matrix, so a translation sits in row 2.
#pragma once

#include "AE_Effect.h"

// Sets m to the identity.
void SetIdentityMatrix(PF_FloatMatrix& m);

// dst becomes dst x src: with row vectors, src's transform is applied after
// dst's. The product is formed in a temporary, so src and dst may be the same
// matrix.
void CCU_ConcatMatrix(const PF_FloatMatrix& src, PF_FloatMatrix& dst);

// Appends a translation by (x, y) to m.
void TranslateMatrix(PF_FloatMatrix& m, double x, double y);
