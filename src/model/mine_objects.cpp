#include "model/mine_objects.h"

#include "model/network.h"

TNode::TNode(const TNetworkTables &t, int n)
    : TMineObject(n), X(t.NodeX[n]), Y(t.NodeY[n]), Altitude(t.NodeAltitude[n]),
      LiftToSurface(t.NodeLiftToSurface[n]), IsSurface(t.NodeIsSurface[n])
{
}

TBranch::TBranch(const TNetworkTables &t, int n)
    : TMineObject(n), Name(GetBranchName(t, n)), DGSMark(t.BranchDGSMark[n]), Flags(t.BranchFlags[n]),
      StartNode(t.BranchStartNode[n]), EndNode(t.BranchEndNode[n]), Length(t.BranchLength[n]),
      People(t.BranchPeople[n]), PLAPosition(t.BranchPLAPosition[n]), PLAColor(t.BranchPLAColor[n]),
      Alpha(t.BranchAlpha[n]), R(t.BranchR[n]), GivenDepression(t.BranchGivenDepression[n]),
      AuxDepression(t.BranchAuxDepression[n]), Q(t.BranchQ[n]), RequiredFlow(t.BranchRequiredFlow[n]),
      StartTemp(t.BranchStartTemp[n]), EndTemp(t.BranchEndTemp[n]), Area(t.BranchArea[n]),
      Height(t.BranchHeight[n]), Angle(t.BranchAngle[n]), Type(t.BranchType[n]), IsFresh(t.BranchIsFresh[n])
{
}
