// Trigonom — guarded angle functions and plane rotation.
//
// All values are extended precision (long double); angles in radians.
// pi is the extended constant (x87 FLDPI value, M_PIl).
#pragma once

namespace nodalis {

extern const long double PI_EXT;
// pi / 180: radians per degree, to the precision of an extended.
constexpr long double RAD_PER_DEG = 0.017453292519943295769L;

// sin x / cos x; sin x / 1e-37 when cos x = 0 (never divides by zero).
long double Tan(long double x);
// Arcsine for |x| <= 1.000000001 (|x| >= 1 gives x*pi/2).  Outside that the
// line "FehlerArcSin (<x>)  ist nicht definiert" goes to stdout and the
// arcsine of the nearest bound (+-pi/2) is returned.  NaN gives NaN.
long double ArcSin(long double x);
// Arccosine for |x| <= 1.000000001 (|x| >= 1 gives 0, also near -1).
// Outside that "FehlerArcCos (<x>)  ist nicht definiert" goes to ErrorBox
// and 0 (x > 1) or pi (x < -1) is returned.  NaN gives NaN.
long double ArcCos(long double x);
long double DegToRad(long double x);
// Frac(x / 2pi) * 360, sign of x kept: result in (-360, 360).
long double RadToDeg(long double x);
// R = sqrt(x^2 + y^2); Phi in (-pi, pi].  Note the argument order (y, x).
void RectToPolar(long double& R, long double& Phi, long double y, long double x);
void PolarToRect(long double& x, long double& y, long double Phi, long double R);
// Counter-clockwise rotation of (x, y) by Angle.
void RotateXY(long double& x, long double& y, long double Angle);

}  // namespace nodalis
