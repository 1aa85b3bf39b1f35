#pragma once

#include "project/program_data.h"
#include "sideview/side_view_geometry.h"

namespace velmor::sideview {

// What the side view draws of a project: its scalar data, the rows of the wall-stiffness table (whether
// there is one), the soil layers, and the node numbers of the restraints, the external p-y curve sets and
// the lateral springs.
TSideViewProject SideViewProjectOf(const project::TProgramData& Data);

}  // namespace velmor::sideview
