// The radio link model shared by every radio device: the strength of the
// link between two radio ends from their placements, beam patterns, powers
// and gains. Callers treat a strength above kElecRadioLinkThreshold as a link.
#pragma once

struct Mat4f;

const float kElecRadioLinkThreshold = 2.0f;

// The beam frame of a radio end: the pose with its rows rearranged so that
// the local Z axis is the beam axis (0 the pose's X, 1 its Y, 2 its Z). The
// position row is kept. Another axis number is read as 2 (the pose as it is).
void MakeBeamFrame(Mat4f* frame, const Mat4f* pose, unsigned char axis);

// The link strength between ends A and B. Widths are in radians; a width of
// 0 or less, or at or above its bound, is an omnidirectional pattern. A
// missing pose (null) takes no part in a link: the answer is 0. Ends closer
// than 1 m count as 1 m apart. The answer is the same with A and B swapped.
float ComputeRadioLinkGain(const Mat4f* poseA, unsigned char axisA, float aroundA, float alongA,
                           float powerA, float gainA, const Mat4f* poseB, unsigned char axisB,
                           float aroundB, float alongB, float powerB, float gainB);

// The factor by which a device tuned to the WiFi band loses an antenna of
// that centre frequency and bandwidth: exp(-x^2), x = (centre - 2400) x 3 /
// bandwidth. A bandwidth of 0 (or none a number) means no off-band loss.
float RadioOffBandFactor(float centreFrequency, float bandwidth);
