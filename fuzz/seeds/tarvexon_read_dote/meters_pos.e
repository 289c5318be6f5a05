stk.v.9.0
ScenarioEpoch 1 Jun 2020 12:00:00.0
CentralBody Earth
CoordinateSystem Fixed
EphemerisTimePos
0.0 7000000.000 0.000 0.000
60.0 6987400.000 390000.000 225200.000
120.0 6949600.000 778400.000 449400.000
end ephemeris
