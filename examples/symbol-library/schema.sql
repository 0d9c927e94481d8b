-- SPDX-License-Identifier: Apache-2.0
-- Tables of a symbol library. Plain SQL that both SQLite (SQLCipher) and
-- MariaDB/MySQL accept. The engines read every SELECT * row by column
-- position, so the column order below is part of the format.
--
-- No primary keys: the readers define which of several rows with the same
-- identifiers wins, and the tests rely on such rows.

CREATE TABLE Tags (
    ID INTEGER NOT NULL,
    LibName VARCHAR(255),
    NodeCount INTEGER,
    MarkCount INTEGER
);

CREATE TABLE Nodes (
    LibID INTEGER NOT NULL,
    ID INTEGER NOT NULL,
    PID INTEGER NOT NULL,
    NodeLevel INTEGER,
    NodeName VARCHAR(255)
);

-- Columns 0-17 are the ones the insert statement names; the two trailing
-- integer columns are ShowMode and ExtraInt.
CREATE TABLE Marks (
    LibID INTEGER NOT NULL,
    ID INTEGER NOT NULL,
    PID INTEGER,
    MarkName VARCHAR(255),
    ConnectId INTEGER,
    ConnectLibID INTEGER,
    Mirror DOUBLE PRECISION,
    PosX DOUBLE PRECISION,
    PosY DOUBLE PRECISION,
    UnknownS DOUBLE PRECISION,
    TextNum INTEGER,
    Heading DOUBLE PRECISION,
    MarkType INTEGER,
    MinX DOUBLE PRECISION,
    MinY DOUBLE PRECISION,
    MaxX DOUBLE PRECISION,
    MaxY DOUBLE PRECISION,
    Data MEDIUMTEXT,
    ShowMode INTEGER DEFAULT 0,
    ExtraInt INTEGER DEFAULT 0
);

CREATE TABLE Images (
    LibID INTEGER NOT NULL,
    ID INTEGER NOT NULL,
    Image MEDIUMBLOB
);

-- Every read looks rows up by library and identifier or parent; without
-- these the export of a library would scan the tables once per category.
CREATE INDEX NodesByParent ON Nodes (LibID, PID);
CREATE INDEX MarksById ON Marks (LibID, ID);
CREATE INDEX MarksByNode ON Marks (LibID, PID);
CREATE INDEX ImagesByMark ON Images (LibID, ID);
