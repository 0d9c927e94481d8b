-- A small library for the XML export tests, loaded after schema.sql.
-- Library 5: a tree with a leaf holding a mark, a leaf without mark, a
-- node equal to its library, and a cycle (52 -> 53 -> 52). Library 6: no
-- categories, only the mark with the library's own identifier.
-- Library 4: no categories and no mark. Library 7: damaged, its rows
-- repeated (node 71 twice under the library, node 72 twice under 71); a
-- subtree is written once, under the first copy of its parent.

INSERT INTO Tags (ID, LibName, NodeCount, MarkCount) VALUES (5, 'Fish & <Chips> "5"', 6, 2);
INSERT INTO Tags (ID, LibName, NodeCount, MarkCount) VALUES (6, '平 flat', 0, 1);
INSERT INTO Tags (ID, LibName, NodeCount, MarkCount) VALUES (4, 'Empty', 0, 0);
INSERT INTO Tags (ID, LibName, NodeCount, MarkCount) VALUES (7, 'Repeated rows', 4, 0);

INSERT INTO Nodes (LibID, ID, PID, NodeLevel, NodeName) VALUES (5, 51, 5, 1, 'Top <A>');
INSERT INTO Nodes (LibID, ID, PID, NodeLevel, NodeName) VALUES (5, 511, 51, 2, 'Leaf & mark');
INSERT INTO Nodes (LibID, ID, PID, NodeLevel, NodeName) VALUES (5, 512, 51, 2, 'Empty leaf');
INSERT INTO Nodes (LibID, ID, PID, NodeLevel, NodeName) VALUES (5, 5, 5, 1, 'Self');
INSERT INTO Nodes (LibID, ID, PID, NodeLevel, NodeName) VALUES (5, 52, 5, 1, 'Cycle A');
INSERT INTO Nodes (LibID, ID, PID, NodeLevel, NodeName) VALUES (5, 53, 52, 2, 'Cycle B');
INSERT INTO Nodes (LibID, ID, PID, NodeLevel, NodeName) VALUES (5, 52, 53, 3, 'Cycle A again');
INSERT INTO Nodes (LibID, ID, PID, NodeLevel, NodeName) VALUES (7, 71, 7, 1, 'Twice');
INSERT INTO Nodes (LibID, ID, PID, NodeLevel, NodeName) VALUES (7, 71, 7, 1, 'Twice');
INSERT INTO Nodes (LibID, ID, PID, NodeLevel, NodeName) VALUES (7, 72, 71, 2, 'Twice below');
INSERT INTO Nodes (LibID, ID, PID, NodeLevel, NodeName) VALUES (7, 72, 71, 2, 'Twice below');

INSERT INTO Marks (LibID, ID, PID, MarkName, ConnectId, ConnectLibID, Mirror, PosX, PosY, UnknownS, TextNum, Heading, MarkType, MinX, MinY, MaxX, MaxY, Data, ShowMode, ExtraInt) VALUES (5, 511, 51, 'Mark 511 ''apos'' <b>', 0, 0, 0, 0, 0, 0, 0, 0, 0, -40, -30, 40, 30, '[{"Style":1,"LineStyle":0,"LineWidth":1,"IsClose":false,"IsOutline":false,"FillStyle":0,"LineColor":{"R":0,"G":0,"B":0,"A":255},"OutlineColor":{"R":0,"G":0,"B":0,"A":255},"FillColor":{"R":255,"G":255,"B":255,"A":255},"IsLineStyleFixedness":false,"IsColorFixedness":false,"IsNotFill":true,"Vertexes":[{"X":0,"Y":0},{"X":10,"Y":0}]}]', 0, 0);
-- Never exported: node 51 has children.
INSERT INTO Marks (LibID, ID, PID, MarkName, ConnectId, ConnectLibID, Mirror, PosX, PosY, UnknownS, TextNum, Heading, MarkType, MinX, MinY, MaxX, MaxY, Data, ShowMode, ExtraInt) VALUES (5, 51, 5, 'Hidden', 0, 0, 0, 0, 0, 0, 0, 0, 0, -40, -30, 40, 30, '[{"Style":1,"LineStyle":0,"LineWidth":1,"IsClose":false,"IsOutline":false,"FillStyle":0,"LineColor":{"R":0,"G":0,"B":0,"A":255},"OutlineColor":{"R":0,"G":0,"B":0,"A":255},"FillColor":{"R":255,"G":255,"B":255,"A":255},"IsLineStyleFixedness":false,"IsColorFixedness":false,"IsNotFill":true,"Vertexes":[{"X":0,"Y":0},{"X":10,"Y":0}]}]', 0, 0);
INSERT INTO Marks (LibID, ID, PID, MarkName, ConnectId, ConnectLibID, Mirror, PosX, PosY, UnknownS, TextNum, Heading, MarkType, MinX, MinY, MaxX, MaxY, Data, ShowMode, ExtraInt) VALUES (6, 6, 6, 'Flat mark', 0, 0, 0, 0, 0, 0, 0, 0, 0, -40, -30, 40, 30, '[{"Style":1,"LineStyle":0,"LineWidth":1,"IsClose":false,"IsOutline":false,"FillStyle":0,"LineColor":{"R":0,"G":0,"B":0,"A":255},"OutlineColor":{"R":0,"G":0,"B":0,"A":255},"FillColor":{"R":255,"G":255,"B":255,"A":255},"IsLineStyleFixedness":false,"IsColorFixedness":false,"IsNotFill":true,"Vertexes":[{"X":0,"Y":0},{"X":10,"Y":0}]}]', 0, 0);
