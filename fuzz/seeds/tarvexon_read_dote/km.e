stk.v.11.0
# seed
BEGIN Ephemeris
    ScenarioEpoch		 9 Apr 2024 00:00:00.000883
    CentralBody		 Earth
    CoordinateSystem		 ICRF 
    DistanceUnit Kilometers
    EphemerisTimePosVel		

0.0 7.000000e+03 0.000000e+00 0.000000e+00 0.000000e+00 6.500000e+00 3.750000e+00
60.0 6.987400e+03 3.900000e+02 2.252000e+02 -4.200000e-01 6.490000e+00 3.740000e+00
120.0 6.949600e+03 7.784000e+02 4.494000e+02 -8.400000e-01 6.460000e+00 3.730000e+00
    END EphemerisTimePosVel
  BEGIN CovarianceTimePosVel
 0.0 1.0
 END Ephemeris
