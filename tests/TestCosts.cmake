# The end-to-end tests that take longest, with their seconds in a parallel run of `make test`
# (roughly: only their order matters). ctest starts the costliest tests first; a test named here
# that no longer exists is passed over, and a new long test belongs here.
foreach(entry IN ITEMS
    "PlaythroughTest.ANewPlayerWinsLevelOneTwiceAndBuildsInTheKingdom=105"
    "BatchedDrawingTest.ScreensMatchTheQuadByQuadPicture=86"
    "StartupTest.QuittingLaterLeavesThePlayersFilesAsTheyWere=68"
    "PlaythroughTest.ThenLosesLevelTwoReplaysItQuitsAndContinuesIt=64"
    "LongRunTest.MemoryStaysFlatOverRoundsOfTheScreens=60"
    "InstallTest.TheDebianPackageInstallsStartsAndRemovesCleanly=60"
    "StartupTest.QuittingBeforeThePlayersAreReadWritesNothing=55"
    "GamePlayTest.LevelOneWonGoesThroughTheSummaryAndTheKingdomToTheMapWithLevelTwoOpen=52"
    "PlayersTest.PlayersAreMadeWithTheMouseAndTheKeyboardAndSwitched=48"
    "PlayersTest.EachPlayerPlaysALevelAndKeepsItThroughRestartsAndASwitch=47"
    "KingdomRunTest.ABuildingBoughtWithAWonLevelsScoreStandsAfterARestart=36"
    "SavesTest.AFailedSaveIsToldWhenItHappensAndAtExitAndLosesNothingSavedBefore=34"
    "OptionsE2E.SettingsChangedInTheOptionsAreSavedOnOkAndReadBackAtTheNextStart=33"
    "StartupTest.ShippedDataLoadsWithoutAReport=28"
    "ScreenEntryTest.TheKingdomTheMapAndALevelFadeInSettled=25"
    "SavesTest.ASecondGameOnTheSameFolderStopsAndAKilledGamesLockNeverBlocks=25"
    "SavesTest.ADamagedSaveIsSalvagedAndToldOnceOnTheMainMenu=24"
    "GamePlayTest.LevelTwentyEightPlayedFromThePanelColourHammerAndHint=24"
    "GamePlayTest.LevelOnePlayedFromItsSolutionIsWonAndGoesToTheLevelSummary=24"
    "NewsletterE2E.AfterHalfAnHourOfPlayASignUpReachesTheServer=24"
    "LauncherE2ETest.AHostilePackageIsRefusedWhileTheGameGoesOn=22"
    "Groups/DamagedDataTest.TheGameStartsAndReportsEachDamagedFileOnce/*=20")
  string(REPLACE "=" ";" entry "${entry}")
  list(GET entry 0 name)
  list(GET entry 1 cost)
  if(name MATCHES "/\\*$")
    # A parameterised test: each of its first 16 cases.
    string(REGEX REPLACE "\\*$" "" name "${name}")
    foreach(i RANGE 15)
      set_tests_properties("${name}${i}" PROPERTIES COST ${cost})
    endforeach()
  else()
    set_tests_properties("${name}" PROPERTIES COST ${cost})
  endif()
endforeach()
