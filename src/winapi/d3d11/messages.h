#pragma once

// Texts of the lines the layer logs that more than one call produces; each
// follows "D3D11 ERROR: <entry point>: ".
namespace halvo::d3d11 {

inline constexpr char kDescriptionNull[] = "the description is null.";
inline constexpr char kViewNull[] = "the view is null.";
inline constexpr char kResourceOfAnotherDevice[] = "a resource belongs to another device.";
inline constexpr char kClassInstancesUnsupported[] = "class instances are not supported by this layer.";
inline constexpr char kSubresourcePastEnd[] = "subresource %u is past the resource's %u.";
inline constexpr char kViewDimensionMismatch[] = "view dimension %d does not fit a 2D texture.";

}  // namespace halvo::d3d11
