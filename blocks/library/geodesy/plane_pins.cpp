#include "blocks/library/geodesy/plane_pins.h"

#define VELK_PLANE_X L"X", L"Плоская координата X, направление на восток [м]"
#define VELK_PLANE_Y L"Y", L"Плоская координата Y, направление на север [м]"
#define VELK_PLANE_H L"H", L"Высота над базовой плоскостью [м]"
#define VELK_POINT_X L"x", L"Геоцентрическая координата X переводимой точки [м]"
#define VELK_POINT_Y L"y", L"Геоцентрическая координата Y переводимой точки [м]"
#define VELK_POINT_Z L"z", L"Геоцентрическая координата Z переводимой точки [м]"
#define VELK_BASE_X L"baseX", L"Геоцентрическая координата X начала координат базовой плоскости [м]"
#define VELK_BASE_Y L"baseY", L"Геоцентрическая координата Y начала координат базовой плоскости [м]"
#define VELK_BASE_Z L"baseZ", L"Геоцентрическая координата Z начала координат базовой плоскости [м]"

const BeCoordinatePin kBePlanePins[3] = {{VELK_PLANE_X}, {VELK_PLANE_Y}, {VELK_PLANE_H}};
const BeCoordinatePin kBeConvertedPointPins[3] = {{VELK_POINT_X}, {VELK_POINT_Y}, {VELK_POINT_Z}};
const BeCoordinatePin kBeXYZtoPlaneInputs[6] = {{VELK_POINT_X}, {VELK_POINT_Y}, {VELK_POINT_Z},
                                                {VELK_BASE_X},  {VELK_BASE_Y},  {VELK_BASE_Z}};
const BeCoordinatePin kBePlaneToXYZInputs[6] = {{VELK_PLANE_X}, {VELK_PLANE_Y}, {VELK_PLANE_H},
                                                {VELK_BASE_X},  {VELK_BASE_Y},  {VELK_BASE_Z}};
const int kBePlaneInputOffsets[6] = {10, 25, 40, 70, 85, 100};
const int kBePlaneOutputOffsets[3] = {10, 25, 40};
