#define RaytracingAccelerationStructure ByteAddressBuffer
struct RayDesc { float3 Origin; float TMin; float3 Direction; float TMax; };
struct BuiltInTriangleIntersectionAttributes { float2 barycentrics; };
uint3 DispatchRaysIndex() { return uint3(0u, 0u, 0u); }
uint3 DispatchRaysDimensions() { return uint3(1u, 1u, 1u); }
uint NonUniformResourceIndex(uint index) { return index; }
uint InstanceID() { return 0u; }
uint PrimitiveIndex() { return 0u; }
float RayTCurrent() { return 0.0f; }
float3 WorldRayDirection() { return float3(0.0f, 0.0f, 1.0f); }
float3 WorldRayOrigin() { return float3(0.0f, 0.0f, 0.0f); }
float3x4 ObjectToWorld3x4() { return float3x4(1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f); }
void _JudgeTraceRay(ByteAddressBuffer scene, uint flags, uint mask, uint contribution, uint stride, uint miss, RayDesc ray) {}
#define TraceRay(scene, flags, mask, contribution, stride, miss, ray, payload) _JudgeTraceRay(scene, flags, mask, contribution, stride, miss, ray); payload = payload
#line 1
